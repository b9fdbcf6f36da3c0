#pragma once

#include <RtMidi.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "emulator/DeviceRunner.h"

// The emulator's MIDI ports: a virtual input and a virtual output port, both named after the
// device, on the API that every program of the project uses. Whatever arrives at the input goes
// to the runner whole (SysEx included); the runner's replies leave through the output. RtMidi
// reports failures by throwing; they are caught here and returned as text.
class cRtMidiDeviceHost {
  public:
    explicit cRtMidiDeviceHost(std::string PortName);
    cRtMidiDeviceHost(const cRtMidiDeviceHost&) = delete;
    cRtMidiDeviceHost& operator=(const cRtMidiDeviceHost&) = delete;
    ~cRtMidiDeviceHost() { Close(); }

    // Opens both ports on the API; returns an error text, empty on success.
    std::string Open(RtMidi::Api eApi);
    // Incoming messages go to this runner from now on.
    void Attach(cDeviceRunner* pRunner);
    // Sends one reply; failures go to stderr, since no caller could do more about them.
    void Send(const std::vector<uint8_t>& aucMessage);
    // Closes the input port: no message reaches the runner after this returns.
    void CloseInput();
    // Closes both ports; call it only once the runner no longer sends.
    void Close();

    // The display name of the API the ports were opened on.
    const std::string& ApiName() const { return OpenedApiName; }

  private:
    static void OnInput(double dDeltaSeconds, std::vector<unsigned char>* pMessage,
                        void* pUserData);

    std::string PortName;
    std::string OpenedApiName;
    std::unique_ptr<RtMidiIn> pInput;
    std::unique_ptr<RtMidiOut> pOutput;
    std::atomic<cDeviceRunner*> pRunner{nullptr};
};
