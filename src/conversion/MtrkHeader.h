#pragma once

#include <cstdint>
#include <memory>

#include "conversion/MIDIEvent.h"
#include "conversion/MetaEvent.h"
#include "conversion/SysexEvent.h"
#include "conversion/TrackReader.h"

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

// One track chunk: its header, the whole track data, and a walker over its events that never
// reads past the data, whatever the data holds. The data is either the object's own buffer
// (AllocBuf) or bytes that the caller keeps alive (UseData).
class tMtrkHeader {
  public:
    static constexpr uint32_t kStartTempo = 500000;  // 120 beats per minute

    tMtrkHeader();
    tMtrkHeader(const tMtrkHeader&) = delete;
    tMtrkHeader& operator=(const tMtrkHeader&) = delete;

    uint8_t* PtrToMtrkStruct() { return reinterpret_cast<uint8_t*>(&MtrkStruct); }
    const uint8_t* PtrToMtrkStruct() const { return reinterpret_cast<const uint8_t*>(&MtrkStruct); }
    static constexpr uint32_t SizeOfMtrkStruct() { return sizeof(tMtrkStruct); }
    bool IsMTrk() const;

    uint32_t ReturnLen();
    bool AllocBuf();
    void UseData(const uint8_t* pucTrackData, uint32_t dwTrackSize);
    uint8_t* PtrToDataBuf() { return pucDataBuf.get(); }
    uint32_t SizeOfDataBuf() const { return dwDataBufSize; }

    bool ReadEvent();

    uint32_t GetDeltaTime() const { return CurrentEvent.dwDeltaTime; }
    uint8_t GetMtrkEvent() const { return CurrentEvent.Kind; }
    uint8_t GetLastMetaEvent() const { return LastMetaEvent.GetEventType(); }
    uint32_t GetTempo() const { return dwTempo; }
    uint32_t GetPreviousTempo() const { return dwPreviousTempo; }
    // Where the Set Tempo event in force starts in the track; false for the starting tempo.
    bool GetTempoEventOffset(uint32_t& dwOffset) const;
    // Where the event just read starts in the track.
    uint32_t GetEventOffset() const { return CurrentEvent.Start; }
    bool GetIsRunningStatus() const { return LastMIDIEvent.IsRunningStatus(); }
    bool GetMetaTooLong() const { return Reader.GetFault() == TRACK_META_TOO_LONG; }
    tTrackFault GetFault() const { return Reader.GetFault(); }
    // Offset in the track data of the event that caused the fault.
    uint32_t GetFaultOffset() const { return Reader.GetFaultOffset(); }
    uint8_t GetFaultByte() const { return Reader.GetFaultByte(); }

    uint8_t* GetEventPtr(tMtrkEventType MtrkEventType);
    uint8_t* GetEventDataOnly(tMtrkEventType MtrkEventType);
    uint32_t GetEventLength(tMtrkEventType MtrkEventType) const;

  private:
    void KeepMetaEvent();
    void KeepSysexEvent();
    void KeepChannelEvent();

    tMtrkStruct MtrkStruct{};
    std::unique_ptr<uint8_t[]> pucDataBuf;
    uint32_t dwDataBufSize = 0;
    cTrackReader Reader;
    tTrackEvent CurrentEvent;
    cMetaEvent LastMetaEvent;
    cMIDIEvent LastMIDIEvent;
    cSysexEvent LastSysexEvent;
    uint32_t dwTempo = kStartTempo;
    uint32_t dwPreviousTempo = kStartTempo;
    bool TempoFromEvent = false;
    uint32_t TempoEventOffset = 0;
};
