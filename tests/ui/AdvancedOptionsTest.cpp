#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "RecordingUserDialogs.h"
#include "UiTestRegistry.h"
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

}  // namespace

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
        Dialog.SetVars(700, 40, 20, false, 0, 0);
        Dialog.EnableBlindTransfer->setChecked(bBlind);
        Dialog.TimeBetweenPackets->setText(Packets);
        Dialog.TimeBetweenSongs->setText(Songs);
        Dialog.TimeOut->setText(TimeOut);
        QCOMPARE(PressAtOnce(Dialog, Dialog.DWOK), int(QDialog::Accepted));
        QCOMPARE(
            (QList<int>{Dialog.iTimeBetweenPackets, Dialog.iTimeBetweenSongs, Dialog.iTimeOut}),
            Expected);
        QCOMPARE(Dialog.bBlindTransfer, bBlind);
        QCOMPARE(Dialogs.Texts(), Messages);
        QStringList asCaptions;
        for (const tShownMessage& Shown : Dialogs.Shown) {
            asCaptions << Shown.Caption;
        }
        QCOMPARE(asCaptions, Captions);
    }

    void the_blind_check_box_resets_the_packet_time_to_25() {
        cRecordingUserDialogs Dialogs;
        DebugWindow Blind(Dialogs);
        Blind.SetVars(300, 40, 1000, true, 0, 0);
        QCOMPARE(Blind.TimeBetweenPackets->text(), "25");
        QCOMPARE(Blind.TimeBetweenSongs->text(), "300");
        QCOMPARE(Blind.TimeOut->text(), "1000");
        PressAtOnce(Blind, Blind.DWOK);
        QCOMPARE(Blind.iTimeBetweenPackets, 25);

        DebugWindow Handshaking(Dialogs);
        Handshaking.SetVars(300, 40, 1000, false, 0, 0);
        QCOMPARE(Handshaking.TimeBetweenPackets->text(), "40");
        Handshaking.show();
        QTest::mouseClick(Handshaking.EnableBlindTransfer, Qt::LeftButton);
        QCOMPARE(Handshaking.TimeBetweenPackets->text(), "25");
        Handshaking.TimeBetweenPackets->setText("70");
        QTest::mouseClick(Handshaking.EnableBlindTransfer, Qt::LeftButton);
        QCOMPARE(Handshaking.TimeBetweenPackets->text(), "25");
    }

    void unlock_asks_first_and_tells_only_of_what_went_wrong_data() {
        QTest::addColumn<bool>("bYes");
        QTest::addColumn<int>("OutPort");
        QTest::addColumn<bool>("bOpenFails");
        QTest::addColumn<QStringList>("Shown");
        QTest::addColumn<int>("Sent");
        QTest::newRow("answered No") << false << 0 << false << QStringList{kUnlockQuestion} << 0;
        QTest::newRow("Yes without a device")
            << true << -1 << false
            << QStringList{kUnlockQuestion, "You have specified an invalid output port"} << 0;
        QTest::newRow("Yes, the device does not open")
            << true << 0 << true
            << QStringList{kUnlockQuestion,
                           "The default songs were not unlocked: the output "
                           "device did not open (error 4: The MIDI device is already in use.)."}
            << 0;
        QTest::newRow("Yes with a device")
            << true << 0 << false << QStringList{kUnlockQuestion} << 2;
    }
    void unlock_asks_first_and_tells_only_of_what_went_wrong() {
        QFETCH(bool, bYes);
        QFETCH(int, OutPort);
        QFETCH(bool, bOpenFails);
        QFETCH(QStringList, Shown);
        QFETCH(int, Sent);
        cVirtualMidiBackend Backend;
        cScopedMidiBackend Use(Backend);
        const uint32_t uiDevice = Backend.AddOutDevice("Device");
        tVirtualFaults Faults;
        Faults.eOpenResult = bOpenFails ? MMSYSERR_ALLOCATED : MMSYSERR_NOERROR;
        Backend.SetOutFaults(uiDevice, Faults);
        cRecordingUserDialogs Dialogs;
        Dialogs.Answers = {bYes};
        DebugWindow Dialog(Dialogs);
        Dialog.SetPause([](int32_t) {});
        Dialog.SetVars(300, 25, 1000, true, OutPort, 0);
        Dialog.show();
        QTest::mouseClick(Dialog.Unlock_Button, Qt::LeftButton);

        QCOMPARE(Dialogs.Texts(), Shown);
        QCOMPARE(Dialogs.Shown.front().Caption, "Unlock Default Songs");
        QCOMPARE(Dialogs.Shown.front().eIcon, MESSAGE_ICON_QUESTION);
        QVERIFY(Dialogs.Shown.front().bQuestion);
        QCOMPARE(Backend.SentChunks(uiDevice).size(), size_t(Sent));
    }

    void the_lock_command_sends_its_first_message() {
        cVirtualMidiBackend Backend;
        cScopedMidiBackend Use(Backend);
        const uint32_t uiDevice = Backend.AddOutDevice("Device");
        cRecordingUserDialogs Dialogs;
        DebugWindow Dialog(Dialogs);
        Dialog.SetPause([](int32_t) {});
        Dialog.SetVars(300, 25, 1000, true, 0, 0);
        Dialog.LockDefaults_Click();
        QVERIFY(Dialogs.Shown.empty());
        QCOMPARE(Backend.SentChunks(uiDevice).size(), size_t{1});
    }

    void the_main_window_takes_the_values_back_only_after_ok() {
        cWindowRig Rig;
        Form1& Window = Rig.Open();
        ChangeSettings(Window, [&](tTransferSettings& S) {
            S.iTimeBetweenPackets = 40;
            S.bBlindTransfer = false;
        });
        Rig.Dialogs.OnModal = [](QDialog& Dialog) {
            auto& Options = static_cast<DebugWindow&>(Dialog);
            Options.show();
            Options.TimeBetweenSongs->setText("500");
            Options.TimeBetweenPackets->setText("60");
            Options.TimeOut->setText("20");
            Options.close();
            return Options.result();
        };
        Window.advancedOptionsToolStripMenuItem->trigger();
        QCOMPARE(Window.TransferSettings().iTimeBetweenSongs, 300);
        QCOMPARE(Window.TransferSettings().iTimeBetweenPackets, 40);
        QCOMPARE(Window.TransferSettings().iTimeOut, 1000);

        QList<int> SeenBySetVars;
        Rig.Dialogs.OnModal = [&SeenBySetVars](QDialog& Dialog) {
            auto& Options = static_cast<DebugWindow&>(Dialog);
            Options.show();
            SeenBySetVars << Options.TimeBetweenSongs->text().toInt()
                          << Options.TimeBetweenPackets->text().toInt()
                          << Options.TimeOut->text().toInt() << Options.iSelectedOutPort;
            Options.TimeBetweenSongs->setText("500");
            Options.TimeBetweenPackets->setText("60");
            Options.TimeOut->setText("20");
            QTest::mouseClick(Options.EnableBlindTransfer, Qt::LeftButton);  // box now 25
            QTest::mouseClick(Options.DWOK, Qt::LeftButton);
            return Options.result();
        };
        Window.advancedOptionsToolStripMenuItem->trigger();
        QCOMPARE(SeenBySetVars, (QList<int>{300, 40, 1000, 0}));
        QCOMPARE(Window.TransferSettings().iTimeBetweenSongs, 500);
        QCOMPARE(Window.TransferSettings().iTimeBetweenPackets, 25);
        QCOMPARE(Window.TransferSettings().iTimeOut, 20);
        QVERIFY(Window.TransferSettings().bBlindTransfer);
        QVERIFY(!Window.TransferSettings().bDebugEnabled);
        QVERIFY(!Window.TransferSettings().bMidiInMonitor);
        QVERIFY(Window.findChildren<MidiInPortView*>().isEmpty());
    }

    void the_acknowledgement_box_follows_blind_transfer_and_is_kept() {
        cWindowRig Rig;
        Form1& Window = Rig.Open();
        QList<bool> Seen;  // enabled, checked: as it opens blind, then once blind is off
        Rig.Dialogs.OnModal = [&Seen](QDialog& Dialog) {
            auto& Options = static_cast<DebugWindow&>(Dialog);
            Options.show();
            Seen << Options.SendWhenAcknowledged->isEnabled()
                 << Options.SendWhenAcknowledged->isChecked();
            if (Options.EnableBlindTransfer->isChecked()) {
                QTest::mouseClick(Options.EnableBlindTransfer, Qt::LeftButton);
                Seen << Options.SendWhenAcknowledged->isEnabled();
                Options.SendWhenAcknowledged->setChecked(true);
            }
            QTest::mouseClick(Options.DWOK, Qt::LeftButton);
            return Options.result();
        };
        Window.advancedOptionsToolStripMenuItem->trigger();
        QCOMPARE(Seen, (QList<bool>{false, false, true}));
        QVERIFY(Window.TransferSettings().AckPaced);
        QVERIFY(SettingsFile::Read(Rig.Folder / SettingsFile::kFileName).AckPaced);

        Form1& Again = Rig.Open(false);  // the next start: blind again, the box kept
        QVERIFY(Again.TransferSettings().AckPaced);
        Seen.clear();
        Again.advancedOptionsToolStripMenuItem->trigger();
        QCOMPARE(Seen, (QList<bool>{false, true, true}));
    }

    void accepting_with_the_monitor_option_opens_a_new_monitor_each_time() {
        cWindowRig Rig;
        Form1& Window = Rig.Open();
        Rig.Dialogs.OnModal = [](QDialog& Dialog) {
            auto& Options = static_cast<DebugWindow&>(Dialog);
            Options.show();
            Options.EnableMIDIInWindow->setChecked(true);
            QTest::mouseClick(Options.DWOK, Qt::LeftButton);
            return Options.result();
        };
        Window.advancedOptionsToolStripMenuItem->trigger();
        QCOMPARE(Window.findChildren<MidiInPortView*>().size(), 1);
        QPointer<MidiInPortView> First = Window.findChild<MidiInPortView*>();
        QVERIFY(First->isVisible());
        Window.advancedOptionsToolStripMenuItem->trigger();
        QCOMPARE(Window.findChildren<MidiInPortView*>().size(), 2);
        QVERIFY(First->isVisible());  // the old one stays until the user closes it
        QVERIFY(Window.TransferSettings().bMidiInMonitor);
    }
};

SONGLOADER_UI_TEST(AdvancedOptionsTest);

#include "AdvancedOptionsTest.moc"
