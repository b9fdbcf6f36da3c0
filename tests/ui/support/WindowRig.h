#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "EmulatedTav.h"
#include "MainWindowRig.h"
#include "StoringIn.h"
#include "TempDir.h"
#include "WindowDrivers.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"

// The emulated device, storing what it receives in a folder of its own.
class cStoringTav {
  public:
    explicit cStoringTav(tTavDeviceOptions Options) : Tav(StoringIn(Store, std::move(Options))) {}

    TempDir Store;
    cEmulatedTav Tav;
};

// The main window over the emulated device behind a pair of virtual MIDI devices (index 0 in
// each direction). The devices are the first base: there before the window opens, and still
// there when it closes its ports.
class cWindowRig : public cStoringTav, public cMainWindowRig {
  public:
    explicit cWindowRig(tTavDeviceOptions Options = {}) : cStoringTav(std::move(Options)) {}

    // Opens the main window; with bChooseEmulator the settings file names the emulator first.
    Form1& Open(bool bChooseEmulator = true) {
        if (bChooseEmulator) {
            SettingsFile::Write(Folder / SettingsFile::kFileName, {0, 0, "", "", false});
        }
        return cMainWindowRig::Open();
    }

    // Presses the transfer button, lets the progress dialog run the transfer to its end and
    // presses OK; the plan the dialog was given.
    tTransferPlan SendToTheEnd() {
        tTransferPlan Plan;
        Dialogs.OnModal = [&Plan](QDialog& Dialog) {
            Plan = As<LoadFileDialog>(Dialog).Plan();
            return RunTransferAndPress(Dialog, "LFD_OK");
        };
        MainWindowDriver(*Window).SendChecked();
        Dialogs.OnModal = nullptr;
        return Plan;
    }
};

// Virtual MIDI devices by name, in use while this lives; more can be plugged in later.
class cNamedDevices {
  public:
    cNamedDevices(const std::vector<std::string>& asOutputs,
                  const std::vector<std::string>& asInputs)
        : Use(Backend) {
        PlugIn(asOutputs, asInputs);
    }

    void PlugIn(const std::vector<std::string>& asOutputs,
                const std::vector<std::string>& asInputs) {
        for (const std::string& Name : asOutputs) {
            Backend.AddOutDevice(Name);
        }
        for (const std::string& Name : asInputs) {
            Backend.AddInDevice(Name);
        }
    }

    cVirtualMidiBackend Backend;
    cScopedMidiBackend Use;
};

// The main window over named virtual devices, none of which answers; the devices first, as
// in cWindowRig.
class cDeviceRig : public cNamedDevices, public cMainWindowRig {
  public:
    using cNamedDevices::cNamedDevices;
};

// Changes the main window's transfer settings as the options dialogs would.
inline void ChangeSettings(Form1& Window, const std::function<void(tTransferSettings&)>& Change) {
    tTransferSettings Settings = Window.TransferSettings();
    Change(Settings);
    Window.SetTransferSettings(Settings);
}
