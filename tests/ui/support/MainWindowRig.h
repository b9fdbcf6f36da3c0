#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RecordingUserDialogs.h"
#include "ScopedWorkFolder.h"
#include "TempDir.h"
#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "app/SettingsFile.h"
#include "transfer/X10FileTransfer.h"
#include "ui/Form1.h"

// The main window as a user meets it, without a screen, over whichever MIDI devices are in use:
// a folder for songs and for the settings file, the work folder moved into a test folder, and
// the recording stand-in for every message, question and dialog.
class cMainWindowRig {
  public:
    // Opens the main window; opened again, it is the program's next start.
    Form1& Open() {
        Window = std::make_unique<Form1>(Dialogs, Transfer);
        Window->SetSettingsDirectory(QString::fromStdString(Folder.path().string()));
        Window->show();
        return *Window;
    }

    // The settings file as the window finds it when it opens, and as it left it.
    void WriteSettings(const std::string& Text) const {
        WriteAll(Folder / SettingsFile::kFileName, {Text.begin(), Text.end()});
    }
    QString Settings() const {
        return QString::fromStdString(ReadText(Folder / SettingsFile::kFileName));
    }

    // Format-0 songs of these names in the folder, their paths in the same order.
    QStringList Songs(const std::vector<std::string>& Names, int iNotes = 8) const {
        QStringList asSongs;
        for (const std::string& Name : Names) {
            asSongs << UiTestSongs::Format0(Folder, Name, iNotes);
        }
        return asSongs;
    }

    // Adds songs as the user does: Load Songs, then the files chosen in the dialog.
    void LoadSongs(const QStringList& asSongs) {
        Dialogs.FileChoices << asSongs;
        MainWindowDriver(*Window).Click("LOAD_MORE_SONGS");
    }

    // Opens the device dialog from the menu; Act does what the user does in it.
    void ChooseDevices(const std::function<int(const DeviceSelectDriver&)>& Act) {
        Dialogs.OnModal = [&Act](QDialog& Dialog) {
            Dialog.show();
            return Act(DeviceSelectDriver(Dialog));
        };
        MainWindowDriver(*Window).Choose("midiDevicesToolStripMenuItem");
        Dialogs.OnModal = nullptr;
    }

    TempDir Folder;
    cScopedWorkFolder Work;  // where a transfer's x10 work files go
    cRecordingUserDialogs Dialogs;
    X10FileTransfer Transfer;
    std::unique_ptr<Form1> Window;
};
