#include "conversion/MIDIEvent.h"

namespace {

constexpr uint8_t kDataBytesPerKind[] = {2, 2, 2, 2, 1, 1, 2};

}  // namespace

bool cMIDIEvent::ValidateEvent(uint8_t ucMIDIEvent) {
    const unsigned uiKind = ucMIDIEvent >> 4;
    return uiKind >= 8 && uiKind <= 14;
}

uint8_t cMIDIEvent::DataBytesOf(uint8_t ucStatus) {
    return kDataBytesPerKind[(ucStatus >> 4) - 8];
}

void cMIDIEvent::SetStatus(uint8_t ucMIDIEvent) {
    if (ValidateEvent(ucMIDIEvent)) {
        bRunningStatus = false;
        EventStruct.ucStatus = ucMIDIEvent;
        eEventType = static_cast<tMIDIEvent>((ucMIDIEvent >> 4) - 8);
    } else {
        // A data byte: the first of a message that reuses the previous status.
        bRunningStatus = true;
        EventStruct.aucData[0] = ucMIDIEvent;
    }
    SetEventLength();
}

void cMIDIEvent::SetEventLength() {
    ucEventLength = kDataBytesPerKind[eEventType];
    if (bRunningStatus) {
        --ucEventLength;
    }
}

uint8_t* cMIDIEvent::ReturnEventDataBufPtr() {
    return bRunningStatus ? &EventStruct.aucData[1] : &EventStruct.aucData[0];
}
