// The program's windows on the real MIDI system against the device emulator, a process of its
// own: songs are added, the emulator is chosen, handshakes are switched on and the checked
// songs are sent, as a user would do it. Needs a MIDI system that answers (scripts/test.sh runs
// the tests with a private JACK server); skipped without one, except in CI.
#include <QProcess>
#include <QTest>
#include <cstdlib>

#include "MainWindowRig.h"
#include "TempDir.h"
#include "UiTestRegistry.h"
#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "midi/DeviceList.h"
#include "midi/MidiBackend.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "transfer/SongName.h"
#include "ui/LoadFileDialog.h"
#include "ui/PathText.h"

// Without a JACK server, RtMidi's JACK clients leave the ring buffers they made behind;
// LeakSanitizer (in the AddressSanitizer build) is not to count that against the skip.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:jack_ringbuffer_create\n";
}

namespace {

constexpr const char* kEmulatorName = "TAV Emulator";
constexpr int kWaitMs = 20000;

bool InCi() {
    const char* szCi = std::getenv("CI");
    return szCi != nullptr && *szCi != '\0' && std::string(szCi) != "false";
}

// tav-emulator as a child process, stopped (SIGTERM) when this object goes.
class cEmulatorProcess {
  public:
    explicit cEmulatorProcess(const std::filesystem::path& StoreFolder) {
        Process.setProgram(SONGLOADER_TAV_EMULATOR);
        Process.setArguments({"--store", QString::fromStdString(StoreFolder.string())});
        Process.setProcessChannelMode(QProcess::SeparateChannels);
        Process.start();
    }
    ~cEmulatorProcess() {
        Process.terminate();
        if (!Process.waitForFinished(5000)) {
            Process.kill();
            Process.waitForFinished(5000);
        }
    }

    bool WaitForReady() {
        return QTest::qWaitFor([this] { return Output().contains(" ready: "); }, kWaitMs);
    }
    // Everything the emulator printed so far.
    QString Output() {
        Printed += QString::fromUtf8(Process.readAllStandardOutput());
        return Printed;
    }
    QString Errors() { return QString::fromUtf8(Process.readAllStandardError()); }

  private:
    QProcess Process;
    QString Printed;
};

// The MIDI system may put a client name before the port's ("TAV Emulator:TAV Emulator").
int EmulatorIndex(const QStringList& asNames) {
    for (int i = 0; i < asNames.size(); ++i) {
        if (asNames[i].contains(kEmulatorName)) {
            return i;
        }
    }
    return -1;
}

int ChooseEmulator(const DeviceSelectDriver& Select) {
    for (const char* szList : {"MIDIInCB", "MIDIDeviceCB"}) {
        Select.Pick(szList, EmulatorIndex(Select.Entries(szList)));
    }
    return Select.PressOk();
}

int SwitchOffBlindTransfer(QDialog& Dialog) {
    const AdvancedOptionsDriver Options(Dialog);
    Dialog.show();
    if (Options.IsChecked("EnableBlindTransfer")) {
        Options.Click("EnableBlindTransfer");
    }
    Options.Type("TimeBetweenPackets", "10");
    return Options.PressOk();
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void songs_sent_through_the_windows_arrive_whole_in_the_emulator() {
        cRtMidiBackend Backend;
        if (!Backend.IsSystemReachable()) {
            if (InCi()) {
                QFAIL("no MIDI system answers (is the private JACK server running?)");
            }
            QSKIP("no JACK server or ALSA sequencer answers on this machine");
        }
        cScopedMidiBackend Use(Backend);
        TempDir Store;
        cEmulatorProcess Emulator(Store.path());
        QVERIFY2(Emulator.WaitForReady(), qPrintable(Emulator.Errors()));

        cMainWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const int iOut = EmulatorIndex(ToQStringList(MidiOutDeviceNames()));
        const int iIn = EmulatorIndex(ToQStringList(MidiInDeviceNames()));
        QVERIFY2(iOut >= 0 && iIn >= 0, qPrintable(ToQStringList(MidiOutDeviceNames()).join(", ")));

        Rig.ChooseDevices(ChooseEmulator);
        QCOMPARE(Window.Form.TransferSettings().iSelectedOutPort, iOut);
        QCOMPARE(Window.Form.TransferSettings().iSelectedInPort, iIn);
        QCOMPARE(Window.OutDevice(), ToQStringList(MidiOutDeviceNames())[iOut]);
        Rig.Dialogs.OnModal = SwitchOffBlindTransfer;
        Window.Choose("advancedOptionsToolStripMenuItem");
        QVERIFY(!Window.Form.TransferSettings().bBlindTransfer);

        const QStringList asSongs = {UiTestSongs::Format0(Rig.Folder, "ballad.mid", 150),
                                     UiTestSongs::Format0(Rig.Folder, "march.mid", 20)};
        Rig.LoadSongs(asSongs);
        QCOMPARE(Window.SongList().rowCount(), 2);

        std::vector<std::vector<uint8_t>> aX10;
        std::vector<std::filesystem::path> X10Paths;
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            X10Paths = As<LoadFileDialog>(Dialog).Plan().X10Paths;
            for (const std::filesystem::path& X10 : X10Paths) {
                aX10.push_back(ReadAll(X10));
            }
            return RunTransferAndPress(Dialog, "LFD_OK", kWaitMs * 3);
        };
        Window.SendChecked();

        QCOMPARE(Rig.Dialogs.Texts(), QStringList{});
        QVERIFY(
            QTest::qWaitFor([&] { return Emulator.Output().count("\"march\"") == 1; }, kWaitMs));
        const QString Printed = Emulator.Output();
        QVERIFY2(Printed.contains("\"ballad\"") && Printed.count(": ok") == 2, qPrintable(Printed));
        for (int i = 0; i < asSongs.size(); ++i) {
            QVERIFY(!aX10[i].empty());
            QCOMPARE(ReadAll(Store / (SongNameFromPath(asSongs[i].toStdString()) + ".x10")),
                     aX10[i]);
            QVERIFY(!std::filesystem::exists(X10Paths[i]));
        }
    }
};

SONGLOADER_UI_TEST(EndToEndTest);

#include "EndToEndTest.moc"
