#include <QCheckBox>
#include <QTest>

#include "RecordingUserDialogs.h"
#include "TestTables.h"
#include "UiTestRegistry.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "app/AppTexts.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"
#include "ui/DebugWindow.h"
#include "ui/MidiInPortView.h"

namespace {

const QString kRangeMessage =
    "Invalid Value for Time between packets, please choose a value between 5 and 150";
const QString kBlindMessage =
    "Invalid value for time between packets - with blind transfer use no less than 25 ms";
const QString kUnlockQuestion =
    "This option will allow you to delete the default songs. Are you sure you want to do this? "
    "Orvik30 must have version 1.04.00.03 or later. Melko30 must have version 1.04.02.03 or "
    "later";

// Between songs, between packets, the time-out.
QList<int> Times(const tTransferSettings& Settings) {
    return {Settings.iTimeBetweenSongs, Settings.iTimeBetweenPackets, Settings.iTimeOut};
}

struct tUnlock {
    const char* Name;
    bool bYes;
    int OutPort;
    bool bOpenFails;
    QString Told;  // after the question; empty: nothing
    int Sent;
};

}  // namespace

Q_DECLARE_METATYPE(tUnlock)

// The advanced options dialog: the rules on OK, the blind-transfer box, the unlock command,
// and what the main window takes back.
class AdvancedOptionsTest : public QObject {
    Q_OBJECT

  private slots:
    void ok_applies_the_rules_for_the_typed_times_data() {
        // The dialog starts with 40 ms between packets, 700 between songs and a time-out of 20.
        QTest::addColumn<QString>("Packets");
        QTest::addColumn<QString>("Songs");
        QTest::addColumn<QString>("TimeOut");
        QTest::addColumn<bool>("bBlind");
        QTest::addColumn<QList<int>>("Expected");  // packets, songs, time-out
        QTest::addColumn<QStringList>("Messages");
        QTest::addColumn<QStringList>("Captions");
        const auto Row = [](const char* szName, const char* szPackets, const char* szSongs,
                            const char* szTimeOut, bool bBlind, const QList<int>& Expected,
                            const QStringList& Messages = {}, const QStringList& Captions = {}) {
            QTest::newRow(szName) << QString(szPackets) << QString(szSongs) << QString(szTimeOut)
                                  << bBlind << Expected << Messages << Captions;
        };
        Row("150 accepted", "150", "700", "20", false, {150, 700, 20});
        Row("151 out of range", "151", "700", "20", false, {25, 700, 20}, {kRangeMessage},
            {"Error..."});
        Row("24 with blind", "24", "700", "20", true, {25, 700, 20}, {kBlindMessage}, {""});
        Row("blanks and a sign", " +60 ", "700", "20", false, {60, 700, 20});
        Row("letters keep the previous value", "fast", "700", "20", false, {40, 700, 20});
        Row("empty keeps the previous value", "", "700", "20", false, {40, 700, 20});
        Row("beyond 32 bits keeps the previous value", "99999999999", "700", "20", false,
            {40, 700, 20});
        Row("letters, then the blind rule on the previous value", "x", "700", "20", true,
            {40, 700, 20});
        Row("songs and time-out in range", "40", "1", "1", false, {40, 1, 1});
        Row("songs and time-out out of range: start values and both messages", "40", "-5", "-1",
            false, {40, 300, 1000},
            {AppTexts::kSongIntervalOutOfRange, AppTexts::kTimeOutOutOfRange},
            {"Error...", "Error..."});
        Row("songs and time-out not numbers keep the values", "40", "soon", "", false,
            {40, 700, 20});
    }
    void ok_applies_the_rules_for_the_typed_times() {
        QFETCH(QString, Packets);
        QFETCH(QString, Songs);
        QFETCH(QString, TimeOut);
        QFETCH(bool, bBlind);
        QFETCH(QList<int>, Expected);
        QFETCH(QStringList, Messages);
        QFETCH(QStringList, Captions);
        cRecordingUserDialogs Dialogs;
        DebugWindow Dialog(Dialogs);
        const AdvancedOptionsDriver Options(Dialog);
        Dialog.SetVars(700, 40, 20, false, 0, 0);
        Options.Box("EnableBlindTransfer").setChecked(bBlind);
        Options.Type("TimeBetweenPackets", Packets);
        Options.Type("TimeBetweenSongs", Songs);
        Options.Type("TimeOut", TimeOut);
        QCOMPARE(PressAtOnce(Dialog, "DWOK"), int(QDialog::Accepted));
        const tTransferSettings Chosen = Options.Choices();
        QCOMPARE(
            (QList<int>{Chosen.iTimeBetweenPackets, Chosen.iTimeBetweenSongs, Chosen.iTimeOut}),
            Expected);
        QCOMPARE(Chosen.bBlindTransfer, bBlind);
        QCOMPARE(Dialogs.Texts(), Messages);
        QCOMPARE(Dialogs.Captions(), Captions);
    }

    void the_blind_check_box_resets_the_packet_time_to_25() {
        cRecordingUserDialogs Dialogs;
        DebugWindow Blind(Dialogs);
        const AdvancedOptionsDriver BlindOptions(Blind);
        Blind.SetVars(300, 40, 1000, true, 0, 0);
        QCOMPARE(BlindOptions.Times(), (QStringList{"300", "25", "1000"}));
        PressAtOnce(Blind, "DWOK");
        QCOMPARE(BlindOptions.Choices().iTimeBetweenPackets, 25);

        DebugWindow Handshaking(Dialogs);
        const AdvancedOptionsDriver Options(Handshaking);
        Handshaking.SetVars(300, 40, 1000, false, 0, 0);
        QCOMPARE(Options.Text("TimeBetweenPackets"), "40");
        Handshaking.show();
        Options.Click("EnableBlindTransfer");
        QCOMPARE(Options.Text("TimeBetweenPackets"), "25");
        Options.Type("TimeBetweenPackets", "70");
        Options.Click("EnableBlindTransfer");
        QCOMPARE(Options.Text("TimeBetweenPackets"), "25");
    }

    void unlock_asks_first_and_tells_only_of_what_went_wrong_data() {
        AddRows<tUnlock>({
            {"answered No", false, 0, false, "", 0},
            {"Yes without a device", true, -1, false, "You have specified an invalid output port",
             0},
            {"Yes, the device does not open", true, 0, true,
             "The default songs were not unlocked: the output device did not open (error 4: The "
             "MIDI device is already in use.).",
             0},
            {"Yes with a device", true, 0, false, "", 2},
        });
    }
    void unlock_asks_first_and_tells_only_of_what_went_wrong() {
        QFETCH(tUnlock, Row);
        cVirtualMidiBackend Backend;
        cScopedMidiBackend Use(Backend);
        const uint32_t uiDevice = Backend.AddOutDevice("Device");
        tVirtualFaults Faults;
        Faults.eOpenResult = Row.bOpenFails ? MMSYSERR_ALLOCATED : MMSYSERR_NOERROR;
        Backend.SetOutFaults(uiDevice, Faults);
        cRecordingUserDialogs Dialogs;
        Dialogs.Answers = {Row.bYes};
        DebugWindow Dialog(Dialogs);
        Dialog.SetPause([](int32_t) {});
        Dialog.SetVars(300, 25, 1000, true, Row.OutPort, 0);
        Dialog.show();
        AdvancedOptionsDriver(Dialog).Click("Unlock_Button");

        QStringList Expected{kUnlockQuestion};
        if (!Row.Told.isEmpty()) {
            Expected << Row.Told;
        }
        QCOMPARE(Dialogs.Texts(), Expected);
        QCOMPARE(Dialogs.Shown.front().Caption, "Unlock Default Songs");
        QCOMPARE(Dialogs.Shown.front().eIcon, MESSAGE_ICON_QUESTION);
        QVERIFY(Dialogs.Shown.front().bQuestion);
        QCOMPARE(Backend.SentChunks(uiDevice).size(), size_t(Row.Sent));
    }

    void the_lock_command_sends_its_first_message() {
        cVirtualMidiBackend Backend;
        cScopedMidiBackend Use(Backend);
        const uint32_t uiDevice = Backend.AddOutDevice("Device");
        cRecordingUserDialogs Dialogs;
        DebugWindow Dialog(Dialogs);
        Dialog.SetPause([](int32_t) {});
        Dialog.SetVars(300, 25, 1000, true, 0, 0);
        Invoke(Dialog, "LockDefaults_Click");  // its button is hidden
        QVERIFY(Dialogs.Shown.empty());
        QCOMPARE(Backend.SentChunks(uiDevice).size(), size_t{1});
    }

    void the_main_window_takes_the_values_back_only_after_ok() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        ChangeSettings(Window.Form, [&](tTransferSettings& S) {
            S.iTimeBetweenPackets = 40;
            S.bBlindTransfer = false;
        });
        const auto TypeTimes = [](const AdvancedOptionsDriver& Options) {
            Options.Type("TimeBetweenSongs", "500");
            Options.Type("TimeBetweenPackets", "60");
            Options.Type("TimeOut", "20");
        };
        Rig.Dialogs.OnModal = [&TypeTimes](QDialog& Dialog) {
            Dialog.show();
            TypeTimes(AdvancedOptionsDriver(Dialog));
            Dialog.close();
            return Dialog.result();
        };
        Window.Choose("advancedOptionsToolStripMenuItem");
        QCOMPARE(Times(Window.Form.TransferSettings()), (QList<int>{300, 40, 1000}));

        QStringList SeenBySetVars;
        Rig.Dialogs.Answers = {true};  // to the unlock question: the command goes to the device
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            const AdvancedOptionsDriver Options(Dialog);
            Dialog.show();
            SeenBySetVars = Options.Times();
            Options.Options.SetPause([](int32_t) {});
            Options.Click("Unlock_Button");  // to the output device the window chose
            TypeTimes(Options);
            Options.Click("EnableBlindTransfer");  // box now 25
            return Options.PressOk();
        };
        Window.Choose("advancedOptionsToolStripMenuItem");
        QCOMPARE(SeenBySetVars, (QStringList{"300", "40", "1000"}));
        QCOMPARE(Rig.Tav.Backend.SentChunks(Rig.Tav.uiOutDevice).size(), size_t{2});
        const tTransferSettings Taken = Window.Form.TransferSettings();
        QCOMPARE(Times(Taken), (QList<int>{500, 25, 20}));
        QCOMPARE((QList<bool>{Taken.bBlindTransfer, Taken.bDebugEnabled, Taken.bMidiInMonitor}),
                 (QList<bool>{true, false, false}));
        QVERIFY(Window.Form.findChildren<MidiInPortView*>().isEmpty());
    }

    void the_acknowledgement_box_follows_blind_transfer_and_is_kept() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        QList<bool> Seen;  // enabled, checked: as it opens blind, then once blind is off
        Rig.Dialogs.OnModal = [&Seen](QDialog& Dialog) {
            const AdvancedOptionsDriver Options(Dialog);
            QCheckBox& Acknowledged = Options.Box("SendWhenAcknowledged");
            Dialog.show();
            Seen << Acknowledged.isEnabled() << Acknowledged.isChecked();
            if (Options.IsChecked("EnableBlindTransfer")) {
                Options.Click("EnableBlindTransfer");
                Seen << Acknowledged.isEnabled();
                Acknowledged.setChecked(true);
            }
            return Options.PressOk();
        };
        Window.Choose("advancedOptionsToolStripMenuItem");
        QCOMPARE(Seen, (QList<bool>{false, false, true}));
        QVERIFY(Window.Form.TransferSettings().AckPaced);
        QVERIFY(SettingsFile::Read(Rig.Folder / SettingsFile::kFileName).AckPaced);

        const MainWindowDriver Again(Rig.Open(false));  // the next start: blind again, the box kept
        QVERIFY(Again.Form.TransferSettings().AckPaced);
        Seen.clear();
        Again.Choose("advancedOptionsToolStripMenuItem");
        QCOMPARE(Seen, (QList<bool>{false, true, true}));
    }

    void accepting_with_the_monitor_option_opens_a_new_monitor_each_time() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Rig.Dialogs.OnModal = [](QDialog& Dialog) {
            const AdvancedOptionsDriver Options(Dialog);
            Dialog.show();
            Options.Box("EnableMIDIInWindow").setChecked(true);  // hidden: set as if shown
            return Options.PressOk();
        };
        Window.Choose("advancedOptionsToolStripMenuItem");
        QCOMPARE(Window.Form.findChildren<MidiInPortView*>().size(), 1);
        QPointer<MidiInPortView> First = Window.Form.findChild<MidiInPortView*>();
        QVERIFY(First->isVisible());
        Window.Choose("advancedOptionsToolStripMenuItem");
        QCOMPARE(Window.Form.findChildren<MidiInPortView*>().size(), 2);
        QVERIFY(First->isVisible());  // the old one stays until the user closes it
        QVERIFY(Window.Form.TransferSettings().bMidiInMonitor);
    }
};

SONGLOADER_UI_TEST(AdvancedOptionsTest);

#include "AdvancedOptionsTest.moc"
