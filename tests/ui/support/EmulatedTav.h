#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "emulator/TavDeviceOptions.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"

// The emulated TAV device behind a pair of virtual MIDI devices named "TAV Emulator": what the
// program sends to the output device reaches the device, and its replies come back on the
// input device from the backend's input thread, as over a cable.
//
// The device itself stays inside EmulatedTav.cpp, so that the window tests see only the backend.
class cEmulatedTav {
  public:
    explicit cEmulatedTav(tTavDeviceOptions Options);
    cEmulatedTav(const cEmulatedTav&) = delete;
    cEmulatedTav& operator=(const cEmulatedTav&) = delete;
    ~cEmulatedTav();

    // The device's report lines so far: one per file ended, command or ignored message.
    std::vector<std::string> ReportLines() const;
    std::filesystem::path StoredPathFor(const std::string& Name) const;

    cVirtualMidiBackend Backend;
    cScopedMidiBackend Use;
    const uint32_t uiOutDevice;
    const uint32_t uiInDevice;

  private:
    class cModel;
    std::unique_ptr<cModel> Model;
};
