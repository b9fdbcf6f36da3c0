#include "EmulatedTav.h"

#include <mutex>

#include "emulator/DeviceRunner.h"
#include "emulator/TavDevice.h"

// Hands every message sent to the output device to the device's runner, which answers on
// the input device when each reply falls due.
class cEmulatedTav::cModel final : public iVirtualDeviceModel {
  public:
    cModel(cVirtualMidiBackend& Backend, uint32_t uiInDevice, tTavDeviceOptions Options)
        : Device(std::move(Options)),
          Runner(
              Device,
              [&Backend, uiInDevice](const std::vector<uint8_t>& Reply) {
                  Backend.DeliverInput(uiInDevice, Reply);
              },
              [this](const std::string& Line) {
                  const std::lock_guard<std::mutex> Lock(mLines);
                  Lines.push_back(Line);
              }) {}
    ~cModel() override { Runner.Stop(); }

    void OnOutputMessage(const std::vector<uint8_t>& Message) override {
        Runner.PostMessage(Message.data(), Message.size());
    }

    mutable std::mutex mLines;
    std::vector<std::string> Lines;
    cTavDevice Device;
    cDeviceRunner Runner;
};

cEmulatedTav::cEmulatedTav(tTavDeviceOptions Options)
    : Use(Backend),
      uiOutDevice(Backend.AddOutDevice("TAV Emulator")),
      uiInDevice(Backend.AddInDevice("TAV Emulator")),
      Model(std::make_unique<cModel>(Backend, uiInDevice, std::move(Options))) {
    Backend.AttachModel(uiOutDevice, Model.get());
}

cEmulatedTav::~cEmulatedTav() {
    Backend.AttachModel(uiOutDevice, nullptr);
    Model.reset();
}

std::vector<std::string> cEmulatedTav::ReportLines() const {
    const std::lock_guard<std::mutex> Lock(Model->mLines);
    return Model->Lines;
}

std::filesystem::path cEmulatedTav::StoredPathFor(const std::string& Name) const {
    return Model->Device.StoredPathFor(Name);
}
