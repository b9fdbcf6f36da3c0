#include "conversion/MtrkHeader.h"

#include <cstring>
#include <new>

#include "conversion/BigEndian.h"

namespace {

constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kSysexEvent = 0xF0;
constexpr uint8_t kSysexEnd = 0xF7;  // also the escape event of the file format
constexpr uint8_t kEndOfTrack = 0x2F;
constexpr uint8_t kSetTempo = 0x51;
constexpr int kMaxQuantityBytes = 4;

}  // namespace

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
    return pucDataBuf != nullptr;
}

bool tMtrkHeader::Fail(tTrackFault eWhy) {
    eFault = eWhy;
    bMetaTooLong = eWhy == TRACK_META_TOO_LONG;
    return false;
}

bool tMtrkHeader::ReadByte(uint8_t& ucByte) {
    if (dwReadIndex >= dwDataBufSize) {
        return Fail(TRACK_EVENT_CUT_OFF);
    }
    ucByte = pucDataBuf[dwReadIndex++];
    return true;
}

bool tMtrkHeader::ReadQuantity(uint32_t& dwValue) {
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

bool tMtrkHeader::ReadEventData(uint8_t* pucEventData, uint32_t dwLen) {
    if (dwLen > dwDataBufSize - dwReadIndex) {
        return Fail(TRACK_EVENT_CUT_OFF);
    }
    std::memcpy(pucEventData, &pucDataBuf[dwReadIndex], dwLen);
    dwReadIndex += dwLen;
    return true;
}

bool tMtrkHeader::ReadEvent() {
    if (bTrackEnded || eFault != TRACK_OK) {
        return false;
    }
    dwEventStart = dwReadIndex;
    // Data that ends cleanly between events counts as End of Track.
    if (dwReadIndex == dwDataBufSize) {
        bTrackEnded = true;
        return false;
    }
    if (!ReadVariableDeltaTime() || !ReadMtrkEvent()) {
        return false;
    }
    switch (ucMtrkEvent) {
        case kMetaEvent:
            return ReadMetaEvent();
        case kSysexEvent:
            return ReadSysexEventData(LastSysexEvent.GetEventPtr(),
                                      LastSysexEvent.GetEventLengthPtr());
        case kSysexEnd:
            *LastSysexEvent.GetEventLengthPtr() = 0;
            return IgnoreSysexEvent();
        default:
            return ReadChannelEvent();
    }
}

bool tMtrkHeader::ReadMetaEvent() {
    uint8_t ucType = 0;
    uint32_t dwLength = 0;
    if (!ReadByte(ucType) || !ReadEventLength(dwLength)) {
        return false;
    }
    LastMetaEvent.SetEventType(ucType);
    if (dwLength >= cMetaEvent::kBufferSize) {
        return Fail(TRACK_META_TOO_LONG);
    }
    LastMetaEvent.SetEventLength(dwLength);
    if (!ReadEventData(LastMetaEvent.ReturnEventDataBufPtr(), dwLength)) {
        return false;
    }
    if (ucType == kEndOfTrack) {
        bTrackEnded = true;
        return false;
    }
    if (ucType == kSetTempo) {
        dwPreviousTempo = dwTempo;
        dwTempo = LastMetaEvent.GetTempo();
    }
    return true;
}

// A SysEx event is delimited by its length quantity. Only a complete one (ending in 0xF7) that
// fits the buffer is kept; the first part of a split SysEx is read past with length 0.
bool tMtrkHeader::ReadSysexEventData(uint8_t* pucBuffer, uint32_t* pdwBufLen) {
    const uint32_t dwQuantityStart = dwReadIndex;
    uint32_t dwLength = 0;
    if (!ReadEventLength(dwLength)) {
        return false;
    }
    if (dwLength > dwDataBufSize - dwReadIndex) {
        return Fail(TRACK_EVENT_CUT_OFF);
    }
    dwReadIndex += dwLength;
    const uint64_t qwFileBytes = uint64_t{1} + (dwReadIndex - dwQuantityStart);
    const bool bComplete = dwLength > 0 && pucDataBuf[dwReadIndex - 1] == kSysexEnd;
    if (!bComplete || qwFileBytes > cSysexEvent::kBufferSize) {
        *pdwBufLen = 0;
        return true;
    }
    pucBuffer[0] = kSysexEvent;
    std::memcpy(pucBuffer + 1, &pucDataBuf[dwQuantityStart], qwFileBytes - 1);
    *pdwBufLen = static_cast<uint32_t>(qwFileBytes);
    return true;
}

// Reads past an escape event (0xF7) by its length quantity.
bool tMtrkHeader::IgnoreSysexEvent() {
    uint32_t dwLength = 0;
    if (!ReadEventLength(dwLength)) {
        return false;
    }
    if (dwLength > dwDataBufSize - dwReadIndex) {
        return Fail(TRACK_EVENT_CUT_OFF);
    }
    dwReadIndex += dwLength;
    return true;
}

bool tMtrkHeader::ReadChannelEvent() {
    if (ucMtrkEvent > kSysexEvent) {
        return Fail(TRACK_BAD_EVENT_KIND);  // 0xF1-0xF6 and 0xF8-0xFE are not file events
    }
    const bool bDataByte = !cMIDIEvent::ValidateEvent(ucMtrkEvent);
    if (bDataByte && !LastMIDIEvent.HasStatus()) {
        return Fail(TRACK_NO_RUNNING_STATUS);
    }
    LastMIDIEvent.SetStatus(ucMtrkEvent);
    if (!ReadEventData(LastMIDIEvent.ReturnEventDataBufPtr(), LastMIDIEvent.GetEventLength())) {
        return false;
    }
    ucMtrkEvent = LastMIDIEvent.GetEventByte();
    return true;
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
