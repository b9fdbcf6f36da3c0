#include "conversion/TrackReader.h"

#include <cstdio>

#include "conversion/MIDIEvent.h"

namespace {

constexpr int kMaxQuantityBytes = 4;

}  // namespace

void cTrackReader::SetData(const uint8_t* pucTrackData, uint32_t dwTrackSize) {
    pucData = pucTrackData;
    dwSize = dwTrackSize;
    dwReadIndex = 0;
    RunningStatus = 0;
    Ended = false;
    EndOfTrackRead = false;
    Fault = TRACK_OK;
    EventStart = 0;
}

bool cTrackReader::Fail(tTrackFault eWhy) {
    Fault = eWhy;
    Ended = true;
    return false;
}

bool cTrackReader::ReadByte(uint8_t& ucByte) {
    if (dwReadIndex >= dwSize) {
        return Fail(TRACK_EVENT_CUT_OFF);
    }
    ucByte = pucData[dwReadIndex++];
    return true;
}

bool cTrackReader::ReadQuantity(uint32_t& dwValue) {
    dwValue = 0;
    for (int i = 0; i < kMaxQuantityBytes; ++i) {
        uint8_t ucByte = 0;
        if (!ReadByte(ucByte)) {
            return false;
        }
        dwValue = (dwValue << 7) | (ucByte & 0x7F);
        if ((ucByte & 0x80) == 0) {
            return true;
        }
    }
    return Fail(TRACK_QUANTITY_TOO_LONG);
}

bool cTrackReader::ReadEvent(tTrackEvent& Event) {
    if (Ended) {
        return false;
    }
    EventStart = dwReadIndex;
    // Data that ends cleanly between events counts as End of Track.
    if (dwReadIndex == dwSize) {
        Ended = true;
        return false;
    }
    Event = tTrackEvent{};
    Event.Start = dwReadIndex;
    uint8_t ucFirstByte = 0;
    if (!ReadQuantity(Event.dwDeltaTime)) {
        return false;
    }
    Event.BodyStart = dwReadIndex;
    if (!ReadByte(ucFirstByte)) {
        return false;
    }
    Event.Kind = ucFirstByte;
    bool bRead = false;
    switch (ucFirstByte) {
        case kMetaEvent:
            bRead = ReadMetaEvent(Event);
            break;
        case kSysexEvent:
        case kEscapeEvent:
            bRead = ReadLengthAndSkipData(Event);
            break;
        default:
            bRead = ReadChannelEvent(ucFirstByte, Event);
            break;
    }
    Event.EndOffset = dwReadIndex;
    return bRead;
}

// Meta, SysEx and escape events all carry their data length as a quantity; the data is checked
// against what the track holds before it is passed.
bool cTrackReader::ReadLengthAndSkipData(tTrackEvent& Event) {
    if (!ReadQuantity(Event.DataLength)) {
        return false;
    }
    if (Event.Kind == kMetaEvent && Event.DataLength >= MetaLengthLimit) {
        return Fail(TRACK_META_TOO_LONG);
    }
    if (Event.DataLength > dwSize - dwReadIndex) {
        return Fail(TRACK_EVENT_CUT_OFF);
    }
    Event.DataStart = dwReadIndex;
    dwReadIndex += Event.DataLength;
    return true;
}

bool cTrackReader::ReadMetaEvent(tTrackEvent& Event) {
    if (!ReadByte(Event.MetaType) || !ReadLengthAndSkipData(Event)) {
        return false;
    }
    if (Event.MetaType == kEndOfTrack) {
        Ended = true;
        EndOfTrackRead = true;
        return false;
    }
    return true;
}

bool cTrackReader::ReadChannelEvent(uint8_t ucFirstByte, tTrackEvent& Event) {
    if (ucFirstByte > kSysexEvent) {
        FaultByte = ucFirstByte;
        return Fail(TRACK_BAD_EVENT_KIND);  // 0xF1-0xF6 and 0xF8-0xFE are not file events
    }
    Event.bRunningStatus = !cMIDIEvent::ValidateEvent(ucFirstByte);
    if (Event.bRunningStatus) {
        if (RunningStatus == 0) {
            return Fail(TRACK_NO_RUNNING_STATUS);
        }
        Event.DataStart = Event.BodyStart;
    } else {
        RunningStatus = ucFirstByte;
        Event.DataStart = dwReadIndex;
    }
    Event.Kind = RunningStatus;
    Event.DataLength = cMIDIEvent::DataBytesOf(RunningStatus);
    if (Event.DataLength > dwSize - Event.DataStart) {
        return Fail(TRACK_EVENT_CUT_OFF);
    }
    dwReadIndex = Event.DataStart + Event.DataLength;
    return true;
}

std::string TrackFaultText(tTrackFault eFault, uint32_t dwOffset, uint8_t ucFaultByte) {
    const std::string Offset = std::to_string(dwOffset);
    switch (eFault) {
        case TRACK_META_TOO_LONG:
            return "the meta event at track byte " + Offset + " has 256 or more data bytes";
        case TRACK_EVENT_CUT_OFF:
            return "the track data ends inside the event at track byte " + Offset;
        case TRACK_QUANTITY_TOO_LONG:
            return "a variable-length quantity at track byte " + Offset + " runs over 4 bytes";
        case TRACK_NO_RUNNING_STATUS:
            return "the event at track byte " + Offset + " has data but no status byte before it";
        case TRACK_BAD_EVENT_KIND: {
            char acKind[8];
            std::snprintf(acKind, sizeof acKind, "0x%02X", ucFaultByte);
            return "the event at track byte " + Offset + " is of kind " + acKind +
                   ", which a MIDI file track may not hold";
        }
        case TRACK_OK:
            break;
    }
    return "the track holds no events before End of Track";
}

tConversionFailure ConversionFailureOf(tTrackFault eFault) {
    switch (eFault) {
        case TRACK_META_TOO_LONG:
            return CONV_META_TOO_LONG;
        case TRACK_EVENT_CUT_OFF:
            return CONV_EVENT_CUT_OFF;
        case TRACK_QUANTITY_TOO_LONG:
            return CONV_QUANTITY_TOO_LONG;
        case TRACK_NO_RUNNING_STATUS:
            return CONV_NO_RUNNING_STATUS;
        case TRACK_BAD_EVENT_KIND:
            return CONV_BAD_EVENT_KIND;
        case TRACK_OK:
            break;
    }
    return CONV_EMPTY_TRACK;
}
