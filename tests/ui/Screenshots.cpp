// Takes a PNG of every window of the program, without a screen: the main window with songs in
// its table, the progress dialog in the middle of a transfer to the emulated device and once it
// has ended, and the device, options, about and monitor windows.
//
//   ui_screenshots FOLDER
#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>

#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "ui/AboutBox.h"
#include "ui/DebugWindow.h"
#include "ui/LoadFileDialog.h"
#include "ui/MidiDeviceSelect.h"
#include "ui/MidiInPortView.h"

namespace {

bool Save(QWidget& Window, const QDir& Folder, const QString& Name) {
    QApplication::processEvents();
    const QString Path = Folder.filePath(Name + ".png");
    if (!Window.grab().save(Path)) {
        std::fprintf(stderr, "ui_screenshots: cannot write %s\n", qPrintable(Path));
        return false;
    }
    std::printf("%s\n", qPrintable(Path));
    return true;
}

QStringList AddSongs(cWindowRig& Rig, const MainWindowDriver& Window) {
    const char* aszNames[] = {"Ode to Joy.mid", "Greensleeves.mid", "Canon in D.mid",
                              "Minuet in G.mid", "Scarborough Fair.mid"};
    const int aiNotes[] = {160, 90, 260, 120, 70};
    QStringList asSongs;
    for (size_t i = 0; i < std::size(aszNames); ++i) {
        asSongs << UiTestSongs::Format0(Rig.Folder, aszNames[i], aiNotes[i]);
    }
    asSongs << asSongs.front();  // added twice: its note says so
    Window.AddSongs(asSongs);
    Window.SongList().SetChecked(3, false);
    Window.SongList().SetChecked(5, false);
    return asSongs;
}

// Shows the progress dialog of a real transfer to the emulated device and takes it when the
// second of four songs is about half sent, and again when the transfer has ended.
int TakeProgress(QDialog& Dialog, const QDir& Folder, bool& bSaved) {
    const ProgressDialogDriver Progress(Dialog);
    Dialog.show();
    const bool bMidway = QTest::qWaitFor(
        [&] { return Progress.OverallBar().value() >= 140 || !Progress.Running(); }, 60000);
    bSaved = bMidway && Save(Dialog, Folder, "progress-dialog");
    const bool bEnded = QTest::qWaitFor([&] { return !Progress.Running(); }, 60000);
    bSaved = bEnded && Save(Dialog, Folder, "progress-finished") && bSaved;
    return Progress.End("LFD_OK");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication Application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: ui_screenshots FOLDER\n");
        return 2;
    }
    QDir Folder(QString::fromLocal8Bit(argv[1]));
    if (!Folder.mkpath(".")) {
        std::fprintf(stderr, "ui_screenshots: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    bool bAllSaved = true;

    cWindowRig Rig;
    const MainWindowDriver Window(Rig.Open());
    AddSongs(Rig, Window);
    Window.Form.resize(980, 440);  // wide enough to show every column
    bAllSaved = Save(Window.Form, Folder, "main-window") && bAllSaved;

    Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
        bool bSaved = false;
        const int iResult = TakeProgress(Dialog, Folder, bSaved);
        bAllSaved = bSaved && bAllSaved;
        return iResult;
    };
    ChangeSettings(Window.Form, [&](tTransferSettings& S) {
        S.iTimeBetweenPackets = 5;
        S.bBlindTransfer = false;
    });
    Window.SendChecked();

    MidiDeviceSelect Devices;
    Devices.FillOutDeviceList("TAV Emulator");
    Devices.FillOutDeviceList("USB MIDI Interface");
    Devices.FillInDeviceList("TAV Emulator");
    Devices.FillInDeviceList("USB MIDI Interface");
    Devices.SetDevices(0, 0);
    Devices.show();
    bAllSaved = Save(Devices, Folder, "device-dialog") && bAllSaved;

    DebugWindow Options(Rig.Dialogs);
    Options.SetVars(300, 25, 1000, true, 0, 0);
    Options.show();
    bAllSaved = Save(Options, Folder, "advanced-options") && bAllSaved;

    AboutBox About;
    About.show();
    bAllSaved = Save(About, Folder, "about-box") && bAllSaved;

    MidiInPortView* pMonitor = new MidiInPortView;
    pMonitor->ReplaceText("\n\nF0 7E 42 7F 00 F7 \n\nF0 7E 42 7F 01 F7 \n\nF0 7E 42 7F 02 F7 ");
    pMonitor->show();
    bAllSaved = Save(*pMonitor, Folder, "midi-in-monitor") && bAllSaved;
    pMonitor->close();

    return bAllSaved ? 0 : 1;
}
