#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>

#include "RecordingUserDialogs.h"
#include "TestTables.h"
#include "UiTestRegistry.h"
#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "app/AppTexts.h"
#include "app/TransferEstimate.h"
#include "app/TransferProgressText.h"
#include "conversion/SongConversion.h"
#include "midi/MidiErrorText.h"
#include "transfer/SongName.h"
#include "transfer/X10FileTransfer.h"
#include "ui/DialogResult.h"
#include "ui/LoadFileDialog.h"
#include "ui/MidiInPortView.h"

namespace {

constexpr int kRunTimeoutMs = 30000;
constexpr int32_t kPacketBytes = 112;

// What ends a send early, as the emulated device or a wrong output device brings it about.
enum tFault { NO_FAULT, DEVICE_CANCELS, NO_OUTPUT_DEVICE, WRONG_PACKET_NUMBER, NO_REPLY };

// How a send ends: the message shown once, with the songs not sent (empty: none), and the
// summary (ending in "in ": the time elapsed follows).
struct tEnd {
    const char* Name;
    tFault Fault;
    bool bBlind;
    QString Message;
    QString Caption;
    QString Summary;
};

// The reason the device gives with cancel reason 1; its quotation marks arrive as Windows-1252.
const QString kCancelReason =
    QString::fromUtf8("File Length = 0 OR no \u2018MIDI\u2019 in file header.");

// Whether the condition came about within a send's time.
bool Until(const std::function<bool()>& Condition) {
    return QTest::qWaitFor(Condition, kRunTimeoutMs);
}

// A progress dialog over the emulated device, with songs converted in a folder of its own.
class cProgressRig : public cStoringTav {
  public:
    explicit cProgressRig(tTavDeviceOptions Options = {}) : cStoringTav(std::move(Options)) {}

    // Converts songs of the given note counts; their x10 paths, in order.
    QStringList Convert(const std::vector<int>& aiNotes) {
        for (size_t i = 0; i < aiNotes.size(); ++i) {
            const QString Song =
                UiTestSongs::Format0(Folder, "song" + std::to_string(i) + ".mid", aiNotes[i]);
            const tSongConversion Result = ConvertSong(Song.toStdString(), false);
            Songs << Song;
            X10Files << QString::fromStdString(Result.X10FilePath.string());
        }
        return X10Files;
    }

    LoadFileDialog& Make(bool bBlind, int32_t iTimeBetweenPackets = 2,
                         int32_t iTimeBetweenSongs = 2, int32_t iTimeOut = 200) {
        tTransferPlan Plan;
        Plan.Settings.iSelectedInPort = static_cast<int32_t>(Tav.uiInDevice);
        Plan.Settings.iSelectedOutPort = static_cast<int32_t>(Tav.uiOutDevice);
        Plan.Settings.iTimeBetweenSongs = iTimeBetweenSongs;
        Plan.Settings.iTimeBetweenPackets = iTimeBetweenPackets;
        Plan.Settings.iTimeOut = iTimeOut;
        Plan.Settings.bDebugEnabled = true;
        Plan.Settings.bBlindTransfer = bBlind;
        Plan.Settings.bMidiInMonitor = bMonitor;
        Plan.Settings.AckPaced = AckPaced;
        if (iOutDeviceInstead >= 0) {
            Plan.Settings.iSelectedOutPort = iOutDeviceInstead;
        }
        for (qsizetype i = 0; i < Songs.size(); ++i) {
            Plan.SongPaths.emplace_back(Songs[i].toStdString());
            Plan.X10Paths.emplace_back(X10Files[i].toStdString());
        }
        Dialog.reset();
        Run = std::make_unique<cTransferRun>(Transfer, std::move(Plan));
        Dialog = std::make_unique<LoadFileDialog>(Dialogs, *Run);
        return *Dialog;
    }

    bool RunToTheEnd() {
        Dialog->show();
        return Until([this] { return !Progress().Running(); });
    }

    ProgressDialogDriver Progress() const { return ProgressDialogDriver(*Dialog); }

    std::vector<uint8_t> StoredSong(int i) const {
        return ReadAll(Tav.StoredPathFor(SongNameFromPath(Songs[i].toStdString())));
    }

    TempDir Folder;
    cRecordingUserDialogs Dialogs;
    X10FileTransfer Transfer;
    QStringList Songs;
    QStringList X10Files;
    bool bMonitor = false;
    bool AckPaced = false;
    int32_t iOutDeviceInstead = -1;
    std::unique_ptr<cTransferRun> Run;  // before the dialog, which it outlives
    std::unique_ptr<LoadFileDialog> Dialog;
};

// The messages of one song: its data packets, the header and the end-of-file message.
int32_t PacketsOf(const QString& X10File) {
    const auto uiBytes = std::filesystem::file_size(X10File.toStdString());
    return static_cast<int32_t>((uiBytes + kPacketBytes - 1) / kPacketBytes) + 2;
}

// Every value the overall bar takes, and right after each change (the tick that made it has
// restarted the timer by the time a queued slot runs) the timer's interval and the labels.
struct tBarLog {
    QList<int> Values;
    QList<int> IntervalsAfter;
    QList<bool> TimerActiveAfter;
    QStringList Songs;  // each song label once
    QStringList Times;
};

void LogOverallBar(const ProgressDialogDriver& Dialog, tBarLog& Log) {
    QProgressBar* pBar = &Dialog.OverallBar();
    QObject::connect(pBar, &QProgressBar::valueChanged, pBar,
                     [&Log](int iValue) { Log.Values << iValue; });
    QObject::connect(
        pBar, &QProgressBar::valueChanged, pBar,
        [&Dialog, &Log](int) {
            Log.IntervalsAfter << Dialog.Timer().interval();
            Log.TimerActiveAfter << Dialog.Timer().isActive();
            if (Log.Songs.isEmpty() || Log.Songs.last() != Dialog.Text("SongNumberLabel")) {
                Log.Songs << Dialog.Text("SongNumberLabel");
            }
            Log.Times << Dialog.Text("TimeLabel");
        },
        Qt::QueuedConnection);
}

}  // namespace

Q_DECLARE_METATYPE(tEnd)

// The progress dialog over the emulated device: bars, labels, the song and time texts, the pause
// between songs, each way a send ends (its message and its summary), and the user's endings.
class ProgressDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void the_dialog_opens_with_its_bars_and_starts_at_once() {
        cProgressRig Rig;
        Rig.Convert({4, 4, 4});
        const ProgressDialogDriver Dialog(Rig.Make(true));
        QCOMPARE(Dialog.OverallBar().maximum(), 300);
        QCOMPARE(Dialog.FileBar().maximum(), 100);
        QVERIFY(Dialog.HandShake().isHidden());
        QVERIFY(!Dialog.Running());
        Dialog.Window.show();
        QVERIFY(Dialog.HandShake().isVisible());
        QVERIFY(Dialog.Running());
        QCOMPARE(Dialog.Timer().interval(), 2);
    }

    void one_song_runs_both_bars_to_the_end_and_the_dialog_stays_open_data() {
        QTest::addColumn<bool>("bBlind");
        QTest::addColumn<bool>("AckPaced");
        QTest::newRow("with handshakes") << false << false;
        QTest::newRow("blind") << true << false;
        QTest::newRow("each packet sent once acknowledged") << false << true;
    }
    void one_song_runs_both_bars_to_the_end_and_the_dialog_stays_open() {
        QFETCH(bool, bBlind);
        cProgressRig Rig;
        Rig.Convert({120});
        const int32_t iPackets = PacketsOf(Rig.X10Files[0]);
        QVERIFY(iPackets > 3);
        QFETCH(bool, AckPaced);
        Rig.AckPaced = AckPaced;
        const ProgressDialogDriver Dialog(Rig.Make(bBlind));
        QList<int> FileValues;
        connect(&Dialog.FileBar(), &QProgressBar::valueChanged, this,
                [&FileValues](int iValue) { FileValues << iValue; });

        QVERIFY(Rig.RunToTheEnd());
        QCOMPARE(Dialog.FileBar().maximum(), iPackets);
        QCOMPARE(Dialog.OverallBar().value(), 100);
        QCOMPARE(FileValues.first(), 1);
        // Acknowledged, the last data packet's reply and the end-of-file message share a step.
        QCOMPARE(FileValues.last(), iPackets - (AckPaced ? 2 : 1));
        QCOMPARE(Dialog.Text("CurrentFileLabel"), "/song0.mid");
        QVERIFY(Dialog.Window.isVisible());
        QVERIFY(Rig.Dialogs.Shown.empty());
        QCOMPARE(Rig.StoredSong(0), ReadAll(Rig.X10Files[0].toStdString()));
        QTest::qWait(30);
        QVERIFY(!Dialog.Running());
    }

    void several_songs_pause_between_songs_and_show_the_song_the_time_and_the_overall_bar_data() {
        QTest::addColumn<std::vector<int>>("Notes");
        QTest::addColumn<int>("PacketMs");
        QTest::addColumn<int>("SongMs");
        QTest::newRow("a longer pause between songs") << std::vector<int>{10, 30, 10} << 3 << 41;
        QTest::newRow("short pauses") << std::vector<int>{10, 10, 10} << 2 << 2;
    }
    void several_songs_pause_between_songs_and_show_the_song_the_time_and_the_overall_bar() {
        QFETCH(std::vector<int>, Notes);
        QFETCH(int, PacketMs);
        QFETCH(int, SongMs);
        cProgressRig Rig;
        Rig.Convert(Notes);
        const ProgressDialogDriver Dialog(Rig.Make(false, PacketMs, SongMs));
        const tTransferPlan& Plan = Rig.Run->GetPlan();
        const cTransferProgressText Before(Plan, EstimateTransfer(Plan));
        QCOMPARE(Dialog.Text("SongNumberLabel"), QString::fromStdString(Before.SongText()));
        QCOMPARE(Dialog.Text("TimeLabel"), QString::fromStdString(Before.TimeText(0)));
        tBarLog Overall;
        LogOverallBar(Dialog, Overall);
        QVERIFY(Rig.RunToTheEnd());
        QCoreApplication::processEvents();
        QCOMPARE(Dialog.OverallBar().maximum(), 300);
        QCOMPARE(Dialog.OverallBar().value(), 300);
        QVERIFY(Overall.Values.contains(100));
        QVERIFY(Overall.Values.contains(200));
        for (int i = 0; i < Overall.Values.size(); ++i) {
            const int iValue = Overall.Values[i];
            if (iValue == 100 || iValue == 200) {
                QCOMPARE(Overall.IntervalsAfter[i], SongMs);  // the pause before the next song
                QVERIFY(Overall.TimerActiveAfter[i]);
            } else if (iValue == 300) {
                QVERIFY(!Overall.TimerActiveAfter[i]);
            } else {
                QCOMPARE(Overall.IntervalsAfter[i], PacketMs);
            }
        }
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Rig.StoredSong(i), ReadAll(Rig.X10Files[i].toStdString()));
        }
        QCOMPARE(Dialog.Text("CurrentFileLabel"), "/song2.mid");
        QCOMPARE(Overall.Songs, (QStringList{"Song 1 of 3", "Song 2 of 3", "Song 3 of 3"}));
        const QRegularExpression Running("^[0-9.]+ s elapsed, about [0-9.]+ s left$");
        for (qsizetype i = 0; i + 1 < Overall.Times.size(); ++i) {
            QVERIFY2(Running.match(Overall.Times[i]).hasMatch(), qPrintable(Overall.Times[i]));
        }
        QVERIFY(QRegularExpression("^[0-9.]+ s elapsed$").match(Overall.Times.last()).hasMatch());
    }

    void each_end_of_the_send_is_told_once_and_summed_up_and_enter_closes_the_dialog_data() {
        const QString OutputFailure = QString::fromStdString(
            DescribeMidiFailure(AppTexts::kOutputDeviceFailed, MMSYSERR_BADDEVICEID, true));
        const QString NoneSent = "; 0 of 2 songs sent";
        AddRows<tEnd>({
            {"all sent", NO_FAULT, false, "", "", "2 of 2 songs sent in "},
            {"all sent blind", NO_FAULT, true, "", "",
             "2 of 2 songs sent in , blind: not confirmed by the device"},
            {"device cancels, giving its reason", DEVICE_CANCELS, false,
             QString(AppTexts::kCancelled) + "\n\n" + AppTexts::kDeviceReason + kCancelReason,
             "Error",
             "Stopped at song0.mid: the device cancelled (" + kCancelReason + ")" + NoneSent},
            {"output device does not open", NO_OUTPUT_DEVICE, false,
             QString(AppTexts::kSendError) + "\n\n" + OutputFailure, "Error",
             "Stopped at song0.mid: the send failed (" + OutputFailure + ")" + NoneSent},
            {"acknowledged packet numbers differ", WRONG_PACKET_NUMBER, false, AppTexts::kMismatch,
             "",
             "Stopped at song0.mid: the device acknowledged other packets than those sent" +
                 NoneSent},
            {"device never replies", NO_REPLY, false, AppTexts::kTimedOut, "Error",
             "Stopped at song0.mid: the device did not answer" + NoneSent},
        });
    }
    void each_end_of_the_send_is_told_once_and_summed_up_and_enter_closes_the_dialog() {
        QFETCH(tEnd, Row);
        const tFault Fault = Row.Fault;
        tTavDeviceOptions Options;
        Options.iCancelAt = Fault == DEVICE_CANCELS ? 2 : tTavDeviceOptions::kNever;
        Options.ucCancelReason = 1;
        Options.bWrongNumber = Fault == WRONG_PACKET_NUMBER;
        Options.bBlind = Fault == NO_REPLY;
        cProgressRig Rig(Options);
        Rig.Convert({40, 40});
        if (Fault == NO_OUTPUT_DEVICE) {
            Rig.iOutDeviceInstead = 7;  // no such device
        }
        const ProgressDialogDriver Dialog(Rig.Make(Row.bBlind, 2, 2, 10));
        QVERIFY(Rig.RunToTheEnd());
        const bool bAllSent = Fault == NO_FAULT;
        QCOMPARE(
            Rig.Dialogs.Texts(),
            bAllSent ? QStringList{} : QStringList{Row.Message + "\n\nnot sent: " + Rig.Songs[1]});
        QCOMPARE(Rig.Dialogs.Captions(), bAllSent ? QStringList{} : QStringList{Row.Caption});
        QTest::qWait(50);
        QCOMPARE(Rig.Dialogs.Shown.size(), size_t{bAllSent ? 0u : 1u});
        QVERIFY(!Dialog.Running());
        QVERIFY(Dialog.Window.isVisible());
        if (bAllSent) {
            QCOMPARE(Dialog.OverallBar().value(), 200);
            QCOMPARE(Rig.StoredSong(1), ReadAll(Rig.X10Files[1].toStdString()));
            // The time elapsed is the one the time label shows.
            const QString Elapsed = Dialog.Text("TimeLabel").remove(" elapsed");
            Row.Summary.insert(Row.Summary.indexOf(" in ") + 4, Elapsed);
        } else {
            QVERIFY(Dialog.OverallBar().value() < 100);
            QVERIFY(Rig.StoredSong(1).empty());  // the songs after a failure are not sent
        }
        if (Fault == DEVICE_CANCELS) {
            QCOMPARE(Dialog.HandShake().text(), kCancelReason);
        }
        QVERIFY(Dialog.Get<QLabel>("SummaryLabel").isVisible());
        QCOMPARE(Dialog.Text("SummaryLabel"), Row.Summary);
        QCOMPARE(Dialog.Window.windowTitle(), "Loading Files ... Finished");
        QVERIFY(!Dialog.Get<QPushButton>("LFD_Abort").isEnabled());
        QVERIFY(Dialog.Get<QPushButton>("LFD_OK").isDefault());
        QTest::keyClick(&Dialog.Window, Qt::Key_Return);
        QCOMPARE(Dialog.Progress.result(), int(DIALOG_OK));
        QVERIFY(!Dialog.Window.isVisible());
    }

    void each_ending_by_the_user_stops_the_send_at_once_with_its_result_data() {
        QTest::addColumn<QString>("Button");  // empty: the close box
        QTest::addColumn<bool>("bDeviceRemoved");
        QTest::addColumn<int>("Result");
        QTest::newRow("OK during the transfer") << "LFD_OK" << false << int(DIALOG_OK);
        QTest::newRow("the device removed: the failure shown, then OK")
            << "LFD_OK" << true << int(DIALOG_OK);
        QTest::newRow("Abort") << "LFD_Abort" << false << int(DIALOG_ABORT);
        QTest::newRow("close box") << "" << false << int(DIALOG_CANCEL);
    }
    void each_ending_by_the_user_stops_the_send_at_once_with_its_result() {
        QFETCH(QString, Button);
        QFETCH(bool, bDeviceRemoved);
        QFETCH(int, Result);
        cProgressRig Rig;
        Rig.Convert({200, 200});
        const ProgressDialogDriver Dialog(Rig.Make(false, 5));
        Dialog.Window.show();
        QVERIFY(Until([&] { return Dialog.FileBar().value() >= 2; }));
        if (bDeviceRemoved) {
            Rig.Tav.Backend.UnplugOutDevice(Rig.Tav.uiOutDevice);
            QVERIFY(Until([&] { return !Dialog.Running(); }));
            QCOMPARE(Rig.Dialogs.Texts(),
                     QStringList{QString(AppTexts::kSendError) + "\n\n" +
                                 QString::fromStdString(DescribeMidiFailure(
                                     AppTexts::kOutputDeviceFailed, MIDIERR_NODEVICE, true)) +
                                 "\n\nnot sent: " + Rig.Songs[1]});
            QVERIFY(Dialog.Window.isVisible());
        }
        if (Button.isEmpty()) {
            Dialog.Window.close();
        } else {
            Dialog.Click(Button.toUtf8().constData());
        }
        QCOMPARE(Dialog.Progress.result(), Result);
        QVERIFY(!Dialog.Window.isVisible());
        QVERIFY(!Dialog.Running());
        QVERIFY(!Rig.Tav.Backend.IsOutOpen(Rig.Tav.uiOutDevice));
        QVERIFY(!Rig.Tav.Backend.IsInOpen(Rig.Tav.uiInDevice));
        const int iValue = Dialog.FileBar().value();
        QTest::qWait(50);
        QCOMPARE(Dialog.FileBar().value(), iValue);
        QVERIFY(Rig.StoredSong(0).empty());
    }

    void the_monitor_shows_the_replies_until_the_user_closes_it() {
        cProgressRig Rig;
        Rig.Convert({30, 30});
        Rig.bMonitor = true;
        const ProgressDialogDriver Dialog(Rig.Make(false, 2, 200));
        QPointer<MidiInPortView> Monitor = new MidiInPortView;
        Monitor->show();
        Dialog.Progress.PassMidiInPortHandle(Monitor);
        Dialog.Window.show();
        const QPlainTextEdit& Replies = Control<QPlainTextEdit>(*Monitor, "MidiInText");
        QVERIFY(Until([&] { return Replies.toPlainText().contains("F0 7E 42 7F"); }));
        QVERIFY(Replies.toPlainText().startsWith("\n\nF0 7E 42"));
        // Closed during the pause before the second song: the run goes on without it.
        QVERIFY(Until([&] { return Dialog.OverallBar().value() >= 100; }));
        Monitor->close();
        QVERIFY(QTest::qWaitFor([&] { return Monitor.isNull(); }, 1000));
        QVERIFY(Rig.RunToTheEnd());
        QCOMPARE(Dialog.OverallBar().value(), 200);
        QCOMPARE(Rig.StoredSong(1), ReadAll(Rig.X10Files[1].toStdString()));
    }
};

SONGLOADER_UI_TEST(ProgressDialogTest);

#include "ProgressDialogTest.moc"
