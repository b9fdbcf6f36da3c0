#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiPlatform.h"

// The MIDI library or system under the real backend, in the few things the backend asks of it:
// the devices' ports by their full names, and connections from a port of the program's own to
// one of them. Failures come back as result codes; a failure in the library's or system's own
// words is recorded with those words (cBackendErrorTexts) under the code returned.

// One whole message from the device, on a thread of the MIDI system's.
using tMessageSink = std::function<void(const uint8_t* pucMessage, size_t uiCount)>;
// Told once, on a thread of the MIDI system's, that the device or the MIDI system went away:
// MIDIERR_NODEVICE or MMSYSERR_NODRIVER.
using tLossSink = std::function<void(MMRESULT eLoss)>;

// A port of the program's own that sends to one device; destroying it closes it.
class iOutConnection {
  public:
    virtual ~iOutConnection() = default;
    // Hands one whole message to the MIDI system. Never blocks without bound; once the device
    // or the MIDI system has gone away, fails at once with MIDIERR_NODEVICE or
    // MMSYSERR_NODRIVER.
    virtual MMRESULT Send(const std::vector<uint8_t>& Message) = 0;
};

// A port of the program's own that receives from one device; destroying it closes it, and no
// sink runs any more once that is done.
class iInConnection {
  public:
    virtual ~iInConnection() = default;
};

class iMidiConnector {
  public:
    virtual ~iMidiConnector() = default;

    // Whether the MIDI system answers at all.
    virtual bool IsReachable() = 0;
    // The full names of the ports that can be sent to (received from), in the system's order,
    // less the ports of every running instance of the program; empty when the system fails.
    virtual std::vector<std::string> OutDevicePorts() = 0;
    virtual std::vector<std::string> InDevicePorts() = 0;
    // Opens a port named OwnPort and connects it to the device's port DevicePort.
    virtual MMRESULT ConnectOut(const std::string& DevicePort, const std::string& OwnPort,
                                std::unique_ptr<iOutConnection>& pConnection) = 0;
    virtual MMRESULT ConnectIn(const std::string& DevicePort, const std::string& OwnPort,
                               tMessageSink OnMessage, tLossSink OnLoss,
                               std::unique_ptr<iInConnection>& pConnection) = 0;
};
