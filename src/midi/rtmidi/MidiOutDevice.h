#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "midi/MidiPlatform.h"
#include "midi/driver/MidiConnector.h"
#include "midi/driver/SysexJoiner.h"

// One open output device of the real backend: a connection to the device's port, fed by the
// long-message calls.
//
// The MIDI systems take a SysEx only whole, so the chunks of the long-message calls are joined
// until the message's 0xF7 and handed over whole. A chunk counts as done (MOM_DONE, and its
// unprepare no longer "still playing") as soon as it is passed on, joined or sent.
class cMidiOutDevice {
  public:
    cMidiOutDevice(HMIDIOUT hSelf, tMidiOutProc pCallback, uintptr_t dwInstance);
    cMidiOutDevice(const cMidiOutDevice&) = delete;
    cMidiOutDevice& operator=(const cMidiOutDevice&) = delete;

    // Connects a port named OwnPort to DevicePort; sends MOM_OPEN on success.
    MMRESULT Open(iMidiConnector& Connector, const std::string& DevicePort,
                  const std::string& OwnPort);
    MMRESULT Prepare(MIDIHDR* pHeader);
    // The long message: passes the chunk on, joined or sent.
    MMRESULT Queue(MIDIHDR* pHeader);
    MMRESULT Unprepare(MIDIHDR* pHeader);
    // Closes the port (a SysEx begun but not ended is dropped) and sends MOM_CLOSE.
    MMRESULT Close();

  private:
    void Notify(uint32_t wMsg, uintptr_t dwParam1) const;

    const HMIDIOUT Self;
    const tMidiOutProc Callback;
    const uintptr_t dwInstance;
    std::mutex SendMutex;
    cSysexJoiner Joiner;
    std::unique_ptr<iOutConnection> Connection;
};
