#pragma once

#include <RtMidi.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "emulator/DeviceHost.h"

// The emulator's ports through RtMidi: a virtual input and a virtual output port, both named
// after the device, each on a client of its own. RtMidi reports failures by throwing; they are
// caught here and returned as text.
class cRtMidiDeviceHost final : public cDeviceHost {
  public:
    cRtMidiDeviceHost(std::string PortName, RtMidi::Api eApi);
    cRtMidiDeviceHost(const cRtMidiDeviceHost&) = delete;
    cRtMidiDeviceHost& operator=(const cRtMidiDeviceHost&) = delete;
    ~cRtMidiDeviceHost() override { Close(); }

    std::string Open() override;
    void Send(const std::vector<uint8_t>& aucMessage) override;
    void CloseInput() override;
    void Close() override;
    std::string Description() const override;

  private:
    static void OnInput(double dDeltaSeconds, std::vector<unsigned char>* pMessage,
                        void* pUserData);

    std::string PortName;
    RtMidi::Api MidiApi;
    std::string OpenedApiName;
    std::unique_ptr<RtMidiIn> Input;
    std::unique_ptr<RtMidiOut> Output;
};
