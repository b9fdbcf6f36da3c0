#pragma once

#include <cstdint>
#include <vector>

// A device model attached to an output device of the virtual backend: it sees every whole
// SysEx message sent to that device and may answer through
// cVirtualMidiBackend::DeliverInput(input device, reply bytes), which reaches the program on
// the backend's input thread, as a real device's reply would.
class iVirtualDeviceModel {
  public:
    virtual ~iVirtualDeviceModel() = default;
    // Called on the sending thread, once per message, after its last chunk was handed over;
    // no lock of the backend is held, so the model may call back into it.
    virtual void OnOutputMessage(const std::vector<uint8_t>& Message) = 0;
};
