#include "conversion/MtrkHeader.h"

#include <cstring>
#include <new>

#include "conversion/BigEndian.h"

tMtrkHeader::tMtrkHeader() {
    Reader.SetMetaLengthLimit(cMetaEvent::kBufferSize);
}

bool tMtrkHeader::IsMTrk() const {
    return std::memcmp(MtrkStruct.acFourCC, "MTrk", 4) == 0;
}

uint32_t tMtrkHeader::ReturnLen() {
    dwDataBufSize = ReadBigEndian32(MtrkStruct.aucLength);
    return dwDataBufSize;
}

bool tMtrkHeader::AllocBuf() {
    ReturnLen();
    // One extra byte keeps the pointer valid for an empty track.
    pucDataBuf.reset(new (std::nothrow) uint8_t[size_t{dwDataBufSize} + 1]);
    Reader.SetData(pucDataBuf.get(), pucDataBuf != nullptr ? dwDataBufSize : 0);
    return pucDataBuf != nullptr;
}

void tMtrkHeader::UseData(const uint8_t* pucTrackData, uint32_t dwTrackSize) {
    pucDataBuf.reset();
    dwDataBufSize = dwTrackSize;
    Reader.SetData(pucTrackData, dwTrackSize);
}

bool tMtrkHeader::GetTempoEventOffset(uint32_t& dwOffset) const {
    dwOffset = TempoEventOffset;
    return TempoFromEvent;
}

bool tMtrkHeader::ReadEvent() {
    if (!Reader.ReadEvent(CurrentEvent)) {
        return false;
    }
    switch (CurrentEvent.Kind) {
        case cTrackReader::kMetaEvent:
            KeepMetaEvent();
            break;
        case cTrackReader::kSysexEvent:
        case cTrackReader::kEscapeEvent:
            KeepSysexEvent();
            break;
        default:
            KeepChannelEvent();
            break;
    }
    return true;
}

void tMtrkHeader::KeepMetaEvent() {
    LastMetaEvent.SetEventType(CurrentEvent.MetaType);
    LastMetaEvent.SetEventLength(CurrentEvent.DataLength);
    std::memcpy(LastMetaEvent.ReturnEventDataBufPtr(), Reader.Data() + CurrentEvent.DataStart,
                CurrentEvent.DataLength);
    if (CurrentEvent.MetaType == cTrackReader::kSetTempo) {
        dwPreviousTempo = dwTempo;
        dwTempo = LastMetaEvent.GetTempo();
        TempoFromEvent = true;
        TempoEventOffset = CurrentEvent.Start;
    }
}

// Only a complete SysEx event (ending in 0xF7) that fits the buffer is kept, as its file bytes;
// the first part of a split SysEx, and every escape event, is read past with length 0.
void tMtrkHeader::KeepSysexEvent() {
    const uint32_t dwFileBytes = CurrentEvent.EndOffset - CurrentEvent.BodyStart;
    const bool bComplete = CurrentEvent.Kind == cTrackReader::kSysexEvent &&
                           CurrentEvent.DataLength > 0 &&
                           Reader.Data()[CurrentEvent.EndOffset - 1] == cTrackReader::kEscapeEvent;
    if (!bComplete || dwFileBytes > cSysexEvent::kBufferSize) {
        *LastSysexEvent.GetEventLengthPtr() = 0;
        return;
    }
    std::memcpy(LastSysexEvent.GetEventPtr(), Reader.Data() + CurrentEvent.BodyStart, dwFileBytes);
    *LastSysexEvent.GetEventLengthPtr() = dwFileBytes;
}

void tMtrkHeader::KeepChannelEvent() {
    const uint8_t* pucBody = Reader.Data() + CurrentEvent.BodyStart;
    LastMIDIEvent.SetStatus(pucBody[0]);
    std::memcpy(LastMIDIEvent.ReturnEventDataBufPtr(), pucBody + 1, LastMIDIEvent.GetEventLength());
}

uint8_t* tMtrkHeader::GetEventPtr(tMtrkEventType MtrkEventType) {
    switch (MtrkEventType) {
        case eSysexEvent:
            return LastSysexEvent.GetEventPtr();
        case eMIDIEvent:
            return LastMIDIEvent.ReturnEntireEventPtr();
    }
    return nullptr;
}

uint8_t* tMtrkHeader::GetEventDataOnly(tMtrkEventType MtrkEventType) {
    return MtrkEventType == eMIDIEvent ? LastMIDIEvent.ReturnEventDataBufPtrOnly() : nullptr;
}

uint32_t tMtrkHeader::GetEventLength(tMtrkEventType MtrkEventType) const {
    switch (MtrkEventType) {
        case eSysexEvent:
            return LastSysexEvent.GetEventLength();
        case eMIDIEvent:
            return LastMIDIEvent.GetEventLength() + 1u;
    }
    return 255;
}
