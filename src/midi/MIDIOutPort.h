#pragma once

#include <atomic>
#include <cstdint>

#include "midi/MidiPlatform.h"

// Port state as the driver callback last reported it, for every output port of the process.
enum tMIDIOutPortState : uint32_t {
    MIDI_OUT_NOT_OPENED = 0,
    MIDI_OUT_CLOSED = 2,
    MIDI_OUT_READY = 3,
};

// One MIDI output device: opened with a driver callback, fed SysEx strings in buffers of at
// most 64 bytes, closed. Destroying an open port does not close the device; close it first.
class cMIDIOutPort {
  public:
    static constexpr int32_t kChunkSize = 64;

    // Opens output device DeviceIden (an index of the device list); the platform's result,
    // MMSYSERR_NOERROR on success. The open callback then sets the state to MIDI_OUT_READY.
    MMRESULT OpenPort(uint32_t DeviceIden);
    // Sends iSysexPacketSize bytes from ucptrSysexHeader in chunks of at most 64 bytes and
    // returns once the driver has handed back every chunk, or at the first chunk the platform
    // refuses (its result is returned; the later chunks are not sent). A size of 0 or less, or
    // no data, sends nothing and calls no platform operation; a negative size, or a positive one
    // without data, gives MMSYSERR_INVALPARAM.
    MMRESULT SendSysexPacket(int32_t iSysexPacketSize, const uint8_t* ucptrSysexHeader);
    void ClosePort();
    tMIDIOutPortState GetOutPortState() const { return PortState.load(); }

    static void MidiOutProc(HMIDIOUT MidiOut, uint32_t Msg, uintptr_t Instance, uintptr_t Param1,
                            uintptr_t Param2);

    // Class-wide: written by the driver callback of any output port, read by the UI thread.
    static std::atomic<tMIDIOutPortState> PortState;

  private:
    MMRESULT SendChunk(const uint8_t* pucChunk, uint32_t dwLength);

    HMIDIOUT hMidiOut{};
};
