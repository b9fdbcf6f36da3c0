// The program's windows on the real MIDI system against the device emulator, a process of its
// own: songs are added, the emulator is chosen, handshakes are switched on and the checked
// songs are sent, as a user would do it. Needs a MIDI system that answers (scripts/test.sh runs
// the tests with a private JACK server); skipped without one, except in CI.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "DialogDrivers.h"
#include "RecordingUserDialogs.h"
#include "ScopedWorkFolder.h"
#include "TempDir.h"
#include "UiTestRegistry.h"
#include "UiTestSongs.h"
#include "midi/DeviceList.h"
#include "midi/MidiBackend.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "transfer/SongName.h"
#include "transfer/X10FileTransfer.h"
#include "ui/DebugWindow.h"
#include "ui/Form1.h"
#include "ui/LoadFileDialog.h"
#include "ui/MidiDeviceSelect.h"
#include "ui/PathText.h"
#include "ui/SongListWidget.h"

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

int ChooseEmulator(MidiDeviceSelect& Dialog) {
    Dialog.show();
    const int iIn = Dialog.MIDIInCB->findText(kEmulatorName, Qt::MatchContains);
    const int iOut = Dialog.MIDIDeviceCB->findText(kEmulatorName, Qt::MatchContains);
    Dialog.MIDIInCB->setCurrentIndex(iIn);
    emit Dialog.MIDIInCB->activated(iIn);
    Dialog.MIDIDeviceCB->setCurrentIndex(iOut);
    emit Dialog.MIDIDeviceCB->activated(iOut);
    QTest::mouseClick(Dialog.OKButton, Qt::LeftButton);
    return Dialog.result();
}

int SwitchOffBlindTransfer(DebugWindow& Dialog) {
    Dialog.show();
    if (Dialog.EnableBlindTransfer->isChecked()) {
        QTest::mouseClick(Dialog.EnableBlindTransfer, Qt::LeftButton);
    }
    Dialog.TimeBetweenPackets->setText("10");
    QTest::mouseClick(Dialog.DWOK, Qt::LeftButton);
    return Dialog.result();
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
        TempDir Songs;
        TempDir Store;
        cScopedWorkFolder Work;
        cEmulatorProcess Emulator(Store.path());
        QVERIFY2(Emulator.WaitForReady(), qPrintable(Emulator.Errors()));

        cRecordingUserDialogs Dialogs;
        X10FileTransfer Transfer;
        Form1 Window(Dialogs, Transfer);
        Window.SetSettingsDirectory(QString::fromStdString(Songs.path().string()));
        Window.show();
        const int iOut = EmulatorIndex(ToQStringList(MidiOutDeviceNames()));
        const int iIn = EmulatorIndex(ToQStringList(MidiInDeviceNames()));
        QVERIFY2(iOut >= 0 && iIn >= 0, qPrintable(ToQStringList(MidiOutDeviceNames()).join(", ")));

        Dialogs.OnModal = [](QDialog& Dialog) {
            return ChooseEmulator(static_cast<MidiDeviceSelect&>(Dialog));
        };
        Window.midiDevicesToolStripMenuItem->trigger();
        QCOMPARE(Window.TransferSettings().iSelectedOutPort, iOut);
        QCOMPARE(Window.TransferSettings().iSelectedInPort, iIn);
        QCOMPARE(Window.SelectedOutDeviceLabel->text(), ToQStringList(MidiOutDeviceNames())[iOut]);
        Dialogs.OnModal = [](QDialog& Dialog) {
            return SwitchOffBlindTransfer(static_cast<DebugWindow&>(Dialog));
        };
        Window.advancedOptionsToolStripMenuItem->trigger();
        QVERIFY(!Window.TransferSettings().bBlindTransfer);

        const QStringList asSongs = {UiTestSongs::Format0(Songs, "ballad.mid", 150),
                                     UiTestSongs::Format0(Songs, "march.mid", 20)};
        Dialogs.FileChoices = {asSongs};
        QTest::mouseClick(Window.LOAD_MORE_SONGS, Qt::LeftButton);
        QCOMPARE(Window.MIDI_SONG_LIST->count(), 2);

        std::vector<std::vector<uint8_t>> aX10;
        std::vector<std::filesystem::path> X10Paths;
        Dialogs.OnModal = [&](QDialog& Dialog) {
            X10Paths = static_cast<LoadFileDialog&>(Dialog).Plan().X10Paths;
            for (const std::filesystem::path& X10 : X10Paths) {
                aX10.push_back(ReadAll(X10));
            }
            return RunTransferAndPress(Dialog, "LFD_OK", kWaitMs * 3);
        };
        QTest::mouseClick(Window.LOAD_SONGS_TO_TAV, Qt::LeftButton);

        QCOMPARE(Dialogs.Texts(), QStringList{});
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
