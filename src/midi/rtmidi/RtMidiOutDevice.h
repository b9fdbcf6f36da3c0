#pragma once

#include <RtMidi.h>

#include <memory>
#include <mutex>
#include <string>

#include "midi/MidiPlatform.h"
#include "midi/driver/SysexJoiner.h"
#include "midi/rtmidi/RtMidiErrorFlag.h"

// One open output device: an RtMidi client with a port connected to the device.
//
// RtMidi cannot send a SysEx in pieces, so the chunks of the long-message calls are joined
// until the message's 0xF7 and handed over whole. A chunk counts as done (MOM_DONE, and its
// unprepare no longer "still playing") as soon as it is passed on, joined or sent.
class cRtMidiOutDevice {
  public:
    cRtMidiOutDevice(HMIDIOUT hSelf, tMidiOutProc pCallback, uintptr_t dwInstance);
    cRtMidiOutDevice(const cRtMidiOutDevice&) = delete;
    cRtMidiOutDevice& operator=(const cRtMidiOutDevice&) = delete;

    // Opens the device with index uiDevice of the list that leaves out ports named with
    // OwnTag; PortName names the program's own port. Sends MOM_OPEN on success.
    MMRESULT Open(RtMidi::Api eApi, uint32_t uiDevice, const std::string& OwnTag,
                  const std::string& PortName);
    MMRESULT Prepare(MIDIHDR* pHeader, uint32_t cbHeader);
    MMRESULT LongMessage(MIDIHDR* pHeader, uint32_t cbHeader);
    MMRESULT Unprepare(MIDIHDR* pHeader, uint32_t cbHeader);
    // Closes the port (a SysEx begun but not ended is dropped) and sends MOM_CLOSE.
    void Close();

  private:
    MMRESULT SendWhole(const std::vector<uint8_t>& Message);
    void Notify(uint32_t wMsg, uintptr_t dwParam1) const;

    const HMIDIOUT hSelf;
    const tMidiOutProc pCallback;
    const uintptr_t dwInstance;
    std::mutex mSend;
    cSysexJoiner Joiner;
    cRtMidiErrorFlag Errors;
    std::unique_ptr<RtMidiOut> pClient;
};
