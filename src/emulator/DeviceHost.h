#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/DeviceRunner.h"

// The emulator's MIDI ports on one MIDI system: an input and an output named after the device.
// Whatever arrives at the input goes to the attached runner; the runner's replies leave through
// the output. Each MIDI system's host derives from this, which keeps what they share: the
// runner that input goes to, and whether the MIDI system went away.
class cDeviceHost {
  public:
    virtual ~cDeviceHost() = default;

    // Input goes to this runner from now on. Attached before Open, nothing that arrives is lost.
    void Attach(cDeviceRunner* pNewRunner) { Runner.store(pNewRunner); }
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
    bool IsLost() const { return Lost.load(); }

  protected:
    // One message that arrived at the input, for the attached runner; dropped when there is
    // none. From any thread: the runner only queues it.
    void PassOn(const uint8_t* pucMessage, size_t uiCount) const {
        if (cDeviceRunner* pTarget = Runner.load(); pTarget != nullptr) {
            pTarget->PostMessage(pucMessage, uiCount);
        }
    }
    void DetachRunner() { Runner.store(nullptr); }
    void SetLost() { Lost.store(true); }

  private:
    std::atomic<cDeviceRunner*> Runner{nullptr};
    std::atomic<bool> Lost{false};
};
