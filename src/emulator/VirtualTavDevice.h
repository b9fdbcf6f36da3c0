#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/DeviceRunner.h"
#include "emulator/TavDevice.h"
#include "midi/virtual/VirtualDeviceModel.h"
#include "midi/virtual/VirtualMidiBackend.h"

// The emulated device behind a pair of devices of the in-process virtual backend: whatever the
// program sends to the output device reaches the device, and its replies come back on the input
// device from the backend's input thread, as a real device's would.
class cVirtualTavDevice : public iVirtualDeviceModel {
  public:
    cVirtualTavDevice(cVirtualMidiBackend& Backend, tTavDeviceOptions Options,
                      const std::string& Name = "TAV Emulator");
    cVirtualTavDevice(const cVirtualTavDevice&) = delete;
    cVirtualTavDevice& operator=(const cVirtualTavDevice&) = delete;
    ~cVirtualTavDevice() override;

    uint32_t OutDevice() const { return uiOutDevice; }
    uint32_t InDevice() const { return uiInDevice; }

    void OnOutputMessage(const std::vector<uint8_t>& Message) override;

    // Stops the device (replies not yet due are dropped); its reports can then be read.
    void Stop();
    const std::vector<tFileReport>& GetFileReports() const { return Device.GetFileReports(); }
    std::filesystem::path StoredPathFor(const std::string& Name) const {
        return Device.StoredPathFor(Name);
    }
    std::vector<std::string> ReportLines() const;

  private:
    cVirtualMidiBackend& Backend;
    uint32_t uiOutDevice;
    uint32_t uiInDevice;
    cTavDevice Device;
    mutable std::mutex LinesMutex;
    std::vector<std::string> Lines;
    cDeviceRunner Runner;
};
