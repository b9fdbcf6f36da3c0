#pragma once

#include <memory>
#include <string>

#include "midi/MidiPlatform.h"
#include "midi/driver/MidiConnector.h"
#include "midi/driver/MidiInBlockQueue.h"

// One open input device of the real backend: a connection from the device's port, whose
// messages the block queue takes as a driver would. A device that goes away is closed on its
// own, as the block queue tells the application.
class cMidiInDevice : public cMidiInBlockQueue {
  public:
    using cMidiInBlockQueue::cMidiInBlockQueue;

    // Connects a port named OwnPort from DevicePort; sends MIM_OPEN on success.
    MMRESULT Open(iMidiConnector& Connector, const std::string& DevicePort,
                  const std::string& OwnPort);
    // MIDIERR_STILLPLAYING while blocks are queued; otherwise ends input, closes the port and
    // sends MIM_CLOSE.
    MMRESULT Close();

  private:
    // Goes before the queue it belongs to: its thread may call into the queue until it is gone.
    std::unique_ptr<iInConnection> Connection;
};
