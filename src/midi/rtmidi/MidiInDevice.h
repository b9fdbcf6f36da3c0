#pragma once

#include <memory>
#include <string>

#include "midi/MidiPlatform.h"
#include "midi/driver/MidiConnector.h"
#include "midi/driver/MidiInBlockQueue.h"

// One open input device of the real backend: a connection from the device's port, whose
// messages the block queue takes as a driver would. A device that goes away is closed on its
// own, as the block queue tells the application.
class cMidiInDevice {
  public:
    cMidiInDevice(HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance);
    cMidiInDevice(const cMidiInDevice&) = delete;
    cMidiInDevice& operator=(const cMidiInDevice&) = delete;

    // Connects a port named OwnPort from DevicePort; sends MIM_OPEN on success.
    MMRESULT Open(iMidiConnector& Connector, const std::string& DevicePort,
                  const std::string& OwnPort);
    cMidiInBlockQueue& Blocks() { return Queue; }
    // MIDIERR_STILLPLAYING while blocks are queued; otherwise ends input, closes the port and
    // sends MIM_CLOSE.
    MMRESULT Close();

  private:
    cMidiInBlockQueue Queue;
    // Last, so that it goes first: its thread may call into the queue until it is gone.
    std::unique_ptr<iInConnection> pConnection;
};
