#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "EmulatedTav.h"
#include "RecordingUserDialogs.h"
#include "ScopedWorkFolder.h"
#include "StoringIn.h"
#include "TempDir.h"
#include "WindowDrivers.h"
#include "app/SettingsFile.h"
#include "transfer/X10FileTransfer.h"
#include "ui/Form1.h"

// The main window as a user meets it, without a screen: the emulated device behind a pair of
// virtual MIDI devices (index 0 in each direction), a folder for songs and for the settings
// file, and the recording stand-in for every message, question and dialog.
class cWindowRig {
  public:
    explicit cWindowRig(tTavDeviceOptions Options = {})
        : Tav(StoringIn(Store, std::move(Options))) {}

    // Opens the main window; with bChooseEmulator the settings file names the emulator first.
    Form1& Open(bool bChooseEmulator = true) {
        if (bChooseEmulator) {
            SettingsFile::Write(Folder / SettingsFile::kFileName, {0, 0, "", "", false});
        }
        Window = std::make_unique<Form1>(Dialogs, Transfer);
        Window->SetSettingsDirectory(QString::fromStdString(Folder.path().string()));
        Window->show();
        return *Window;
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

    TempDir Folder;
    TempDir Store;
    cScopedWorkFolder Work;  // where a transfer's x10 work files go
    cEmulatedTav Tav;
    cRecordingUserDialogs Dialogs;
    X10FileTransfer Transfer;
    std::unique_ptr<Form1> Window;
};

// Changes the main window's transfer settings as the options dialogs would.
inline void ChangeSettings(Form1& Window, const std::function<void(tTransferSettings&)>& Change) {
    tTransferSettings Settings = Window.TransferSettings();
    Change(Settings);
    Window.SetTransferSettings(Settings);
}
