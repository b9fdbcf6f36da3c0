#include "emulator/VirtualTavDevice.h"

#include <utility>

cVirtualTavDevice::cVirtualTavDevice(cVirtualMidiBackend& Backend, tTavDeviceOptions Options,
                                     const std::string& Name)
    : Backend(Backend),
      uiOutDevice(Backend.AddOutDevice(Name)),
      uiInDevice(Backend.AddInDevice(Name)),
      Device(std::move(Options)),
      Runner(
          Device,
          [this](const std::vector<uint8_t>& Reply) {
              this->Backend.DeliverInput(uiInDevice, Reply);
          },
          [this](const std::string& Line) {
              const std::lock_guard<std::mutex> Lock(LinesMutex);
              Lines.push_back(Line);
          }) {
    Backend.AttachModel(uiOutDevice, this);
}

cVirtualTavDevice::~cVirtualTavDevice() {
    Backend.AttachModel(uiOutDevice, nullptr);
    Runner.Stop();
}

void cVirtualTavDevice::OnOutputMessage(const std::vector<uint8_t>& Message) {
    Runner.PostMessage(Message.data(), Message.size());
}

void cVirtualTavDevice::Stop() {
    Backend.AttachModel(uiOutDevice, nullptr);
    Runner.Stop();
}

std::vector<std::string> cVirtualTavDevice::ReportLines() const {
    const std::lock_guard<std::mutex> Lock(LinesMutex);
    return Lines;
}
