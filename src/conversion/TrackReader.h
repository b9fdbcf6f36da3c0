#pragma once

#include <cstdint>
#include <string>

#include "conversion/ConversionFailure.h"

// Why the walk of a track stopped early. TRACK_OK after a false ReadEvent means End of Track.
enum tTrackFault : uint8_t {
    TRACK_OK,
    TRACK_META_TOO_LONG,
    TRACK_EVENT_CUT_OFF,
    TRACK_QUANTITY_TOO_LONG,
    TRACK_NO_RUNNING_STATUS,
    TRACK_BAD_EVENT_KIND,
};

// One event as it lies in the track data: where its parts are, not copies of them.
struct tTrackEvent {
    uint32_t dwDeltaTime = 0;
    uint32_t Start = 0;  // offset of its delta time, where faults and messages point
    // 0xFF meta, 0xF0 SysEx, 0xF7 escape; for a channel message the status in force.
    uint8_t Kind = 0;
    bool bRunningStatus = false;  // a channel message that stood without its status byte
    uint8_t MetaType = 0;
    uint32_t BodyStart = 0;  // the kind byte, or a running-status message's first data byte
    // Meta, SysEx and escape events: the bytes after the length quantity. Channel messages:
    // all their data bytes, including a running-status message's first.
    uint32_t DataStart = 0;
    uint32_t DataLength = 0;
    uint32_t EndOffset = 0;  // offset just past the event
};

// Walks the events of one track's data and never reads past it, whatever the data holds.
// Running status is the track's own. The walk stops at End of Track, at the clean end of the
// data, or at the first fault, and stays stopped.
class cTrackReader {
  public:
    static constexpr uint8_t kMetaEvent = 0xFF;
    static constexpr uint8_t kSysexEvent = 0xF0;
    static constexpr uint8_t kEscapeEvent = 0xF7;  // also the byte that closes a SysEx message
    static constexpr uint8_t kEndOfTrack = 0x2F;
    static constexpr uint8_t kSetTempo = 0x51;

    void SetData(const uint8_t* pucTrackData, uint32_t dwTrackSize);
    // Meta events with this many data bytes or more are refused (TRACK_META_TOO_LONG); by
    // default any length is read.
    void SetMetaLengthLimit(uint32_t dwLimit) { MetaLengthLimit = dwLimit; }

    // True when an event was read. False at the end or at a fault; at End of Track the event
    // is filled in, so that its delta time can be taken.
    bool ReadEvent(tTrackEvent& Event);

    bool EndedAtEndOfTrack() const { return EndOfTrackRead; }
    tTrackFault GetFault() const { return Fault; }
    uint32_t GetFaultOffset() const { return EventStart; }
    uint8_t GetFaultByte() const { return FaultByte; }
    const uint8_t* Data() const { return pucData; }
    uint32_t Size() const { return dwSize; }

  private:
    bool ReadByte(uint8_t& ucByte);
    bool ReadQuantity(uint32_t& dwValue);
    bool ReadLengthAndSkipData(tTrackEvent& Event);
    bool ReadMetaEvent(tTrackEvent& Event);
    bool ReadChannelEvent(uint8_t ucFirstByte, tTrackEvent& Event);
    bool Fail(tTrackFault eWhy);

    const uint8_t* pucData = nullptr;
    uint32_t dwSize = 0;
    uint32_t dwReadIndex = 0;
    uint32_t MetaLengthLimit = UINT32_MAX;
    uint8_t RunningStatus = 0;
    bool Ended = false;
    bool EndOfTrackRead = false;
    tTrackFault Fault = TRACK_OK;
    uint32_t EventStart = 0;
    uint8_t FaultByte = 0;
};

// What a track fault means, naming the place in the track data.
std::string TrackFaultText(tTrackFault eFault, uint32_t dwOffset, uint8_t ucFaultByte);
// The conversion failure that a track fault makes.
tConversionFailure ConversionFailureOf(tTrackFault eFault);
