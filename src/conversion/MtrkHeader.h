#pragma once

#include <cstdint>
#include <memory>

#include "conversion/MIDIEvent.h"
#include "conversion/MetaEvent.h"
#include "conversion/SysexEvent.h"

// The 8-byte chunk header, read straight from the file.
#pragma pack(push, 1)
struct tMtrkStruct {
    char acFourCC[4];
    uint8_t aucLength[4];
};
#pragma pack(pop)
static_assert(sizeof(tMtrkStruct) == 8);

// Which event record an accessor of tMtrkHeader answers for.
enum tMtrkEventType : int {
    eSysexEvent = 0,
    eMIDIEvent = 1,
};

// Why the walk of a track stopped early. TRACK_OK after a false ReadEvent means End of Track.
enum tTrackFault : uint8_t {
    TRACK_OK,
    TRACK_META_TOO_LONG,
    TRACK_EVENT_CUT_OFF,
    TRACK_QUANTITY_TOO_LONG,
    TRACK_NO_RUNNING_STATUS,
    TRACK_BAD_EVENT_KIND,
};

// One track chunk: its header, the whole track data, and a walker over its events that never
// reads past the data, whatever the data holds.
class tMtrkHeader {
  public:
    static constexpr uint32_t kStartTempo = 500000;  // 120 beats per minute

    tMtrkHeader() = default;
    tMtrkHeader(const tMtrkHeader&) = delete;
    tMtrkHeader& operator=(const tMtrkHeader&) = delete;

    uint8_t* PtrToMtrkStruct() { return reinterpret_cast<uint8_t*>(&MtrkStruct); }
    const uint8_t* PtrToMtrkStruct() const { return reinterpret_cast<const uint8_t*>(&MtrkStruct); }
    static constexpr uint32_t SizeOfMtrkStruct() { return sizeof(tMtrkStruct); }
    bool IsMTrk() const;

    uint32_t ReturnLen();
    bool AllocBuf();
    uint8_t* PtrToDataBuf() { return pucDataBuf.get(); }
    uint32_t SizeOfDataBuf() const { return dwDataBufSize; }

    bool ReadEvent();

    uint32_t GetDeltaTime() const { return dwDeltaTime; }
    uint8_t GetMtrkEvent() const { return ucMtrkEvent; }
    uint8_t GetLastMetaEvent() const { return LastMetaEvent.GetEventType(); }
    uint32_t GetTempo() const { return dwTempo; }
    uint32_t GetPreviousTempo() const { return dwPreviousTempo; }
    bool GetIsRunningStatus() const { return LastMIDIEvent.IsRunningStatus(); }
    bool GetMetaTooLong() const { return bMetaTooLong; }
    tTrackFault GetFault() const { return eFault; }
    // Offset in the track data of the event that caused the fault.
    uint32_t GetFaultOffset() const { return dwEventStart; }
    uint8_t GetFaultByte() const { return ucMtrkEvent; }

    uint8_t* GetEventPtr(tMtrkEventType MtrkEventType);
    uint8_t* GetEventDataOnly(tMtrkEventType MtrkEventType);
    uint32_t GetEventLength(tMtrkEventType MtrkEventType) const;

  private:
    bool ReadByte(uint8_t& ucByte);
    bool ReadQuantity(uint32_t& dwValue);
    bool ReadVariableDeltaTime() { return ReadQuantity(dwDeltaTime); }
    bool ReadEventLength(uint32_t& dwLength) { return ReadQuantity(dwLength); }
    bool ReadMtrkEvent() { return ReadByte(ucMtrkEvent); }
    bool ReadMetaEvent();
    bool ReadEventData(uint8_t* pucEventData, uint32_t dwLen);
    bool ReadSysexEventData(uint8_t* pucBuffer, uint32_t* pdwBufLen);
    bool IgnoreSysexEvent();
    bool ReadChannelEvent();
    bool Fail(tTrackFault eWhy);

    tMtrkStruct MtrkStruct{};
    std::unique_ptr<uint8_t[]> pucDataBuf;
    uint32_t dwDataBufSize = 0;
    uint32_t dwDeltaTime = 0;
    uint32_t dwReadIndex = 0;
    uint8_t ucMtrkEvent = 0;
    cMetaEvent LastMetaEvent;
    cMIDIEvent LastMIDIEvent;
    cSysexEvent LastSysexEvent;
    uint32_t dwTempo = kStartTempo;
    uint32_t dwPreviousTempo = kStartTempo;
    bool bMetaTooLong = false;
    tTrackFault eFault = TRACK_OK;
    uint32_t dwEventStart = 0;
    bool bTrackEnded = false;
};
