#pragma once

#include <cstdint>

// Channel message kinds, in the order of their status bytes: the status byte's high nibble
// minus 8 (eNoteOff is 0 for 0x8n, ePitchBend 6 for 0xEn).
enum tMIDIEvent : uint8_t {
    eNoteOff,
    eNoteOn,
    ePolyPressure,
    eControlChange,
    eProgramChange,
    eChannelPressure,
    ePitchBend,
};

// Status and data lie next to each other, so &EventStruct is the whole message as sent.
struct tMIDIEventStruct {
    uint8_t ucStatus;
    uint8_t aucData[3];
};
static_assert(sizeof(tMIDIEventStruct) == 4);

// The last channel message met in the track, always held complete (status and data), whether
// or not its status byte stood in the file.
class cMIDIEvent {
  public:
    void SetStatus(uint8_t ucMIDIEvent);
    static bool ValidateEvent(uint8_t ucMIDIEvent);
    // The number of data bytes that follow a status byte of 0x80 to 0xEF.
    static uint8_t DataBytesOf(uint8_t ucStatus);
    void SetEventLength();

    bool HasStatus() const { return EventStruct.ucStatus != 0; }
    tMIDIEvent GetEventType() const { return eEventType; }
    uint8_t GetEventLength() const { return ucEventLength; }
    uint8_t GetEventByte() const { return EventStruct.ucStatus; }
    bool IsRunningStatus() const { return bRunningStatus; }

    uint8_t* ReturnEventDataBufPtr();
    uint8_t* ReturnEventDataBufPtrOnly() { return EventStruct.aucData; }
    uint8_t* ReturnEntireEventPtr() { return &EventStruct.ucStatus; }

  private:
    tMIDIEventStruct EventStruct{};
    bool bRunningStatus = false;
    tMIDIEvent eEventType = eNoteOff;
    uint8_t ucEventLength = 0;
};
