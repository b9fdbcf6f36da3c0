#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cDeviceRunner;

// The emulator's MIDI ports on one MIDI system: an input and an output named after the device.
// Whatever arrives at the input goes to the attached runner; the runner's replies leave through
// the output.
class iDeviceHost {
  public:
    virtual ~iDeviceHost() = default;

    // Input goes to this runner from now on. Attached before Open, nothing that arrives is lost.
    virtual void Attach(cDeviceRunner* pRunner) = 0;
    // Opens both ports and returns once they can take a song: an error text, empty on success.
    virtual std::string Open() = 0;
    // Sends one reply; failures go to stderr, since no caller could do more about them.
    virtual void Send(const std::vector<uint8_t>& aucMessage) = 0;
    // Stops the input: no message reaches the runner after this returns.
    virtual void CloseInput() = 0;
    // Closes both ports; call it only once the runner no longer sends.
    virtual void Close() = 0;
    // The ports and the MIDI system, for the ready line: ports "NAME" (in and out) on ALSA.
    virtual std::string Description() const = 0;
    // The MIDI system went away under the open ports.
    virtual bool IsLost() const = 0;
};
