#include <QRegularExpression>
#include <QTest>

#include "EmulatedTav.h"
#include "RecordingUserDialogs.h"
#include "StoringIn.h"
#include "TempDir.h"
#include "UiTestRegistry.h"
#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "app/TransferEstimate.h"
#include "app/TransferProgressText.h"
#include "conversion/SongConversion.h"
#include "transfer/X10FileTransfer.h"
#include "ui/DialogResult.h"
#include "ui/LoadFileDialog.h"

namespace {

constexpr int kRunTimeoutMs = 30000;

// A progress dialog sending songs of 10 notes each to the emulated device.
class cSummaryRig {
  public:
    cSummaryRig(int iSongs, bool bBlind, tTavDeviceOptions Options = {})
        : Tav(StoringIn(Store, std::move(Options))) {
        Plan.Settings.iSelectedInPort = static_cast<int32_t>(Tav.uiInDevice);
        Plan.Settings.iSelectedOutPort = static_cast<int32_t>(Tav.uiOutDevice);
        Plan.Settings.iTimeBetweenSongs = 2;
        Plan.Settings.iTimeBetweenPackets = 2;
        Plan.Settings.iTimeOut = 10;
        Plan.Settings.bBlindTransfer = bBlind;
        for (int i = 0; i < iSongs; ++i) {
            const QString Song =
                UiTestSongs::Format0(Folder, "song" + std::to_string(i) + ".mid", 10);
            Plan.SongPaths.emplace_back(Song.toStdString());
            Plan.X10Paths.push_back(ConvertSong(Song.toStdString(), false).X10FilePath);
        }
        Run = std::make_unique<cTransferRun>(Transfer, Plan);
        Dialog = std::make_unique<LoadFileDialog>(Dialogs, *Run);
        Progress = std::make_unique<ProgressDialogDriver>(*Dialog);
    }

    bool RunToTheEnd() {
        Dialog->show();
        return QTest::qWaitFor([this] { return !Progress->Running(); }, kRunTimeoutMs);
    }

    TempDir Folder;
    TempDir Store;
    cEmulatedTav Tav;
    cRecordingUserDialogs Dialogs;
    X10FileTransfer Transfer;
    tTransferPlan Plan;
    std::unique_ptr<cTransferRun> Run;
    std::unique_ptr<LoadFileDialog> Dialog;
    std::unique_ptr<ProgressDialogDriver> Progress;
};

}  // namespace

// What the progress dialog says above its bars while a send runs, and how it ends.
class ProgressSummaryTest : public QObject {
    Q_OBJECT

  private slots:
    void while_a_send_runs_the_dialog_shows_the_song_and_the_time_elapsed_and_left() {
        cSummaryRig Rig(3, false);
        const cTransferProgressText Before(Rig.Plan, EstimateTransfer(Rig.Plan));
        QCOMPARE(Rig.Progress->Text("SongNumberLabel"), QString::fromStdString(Before.SongText()));
        QCOMPARE(Rig.Progress->Text("TimeLabel"), QString::fromStdString(Before.TimeText(0)));
        QStringList Songs;
        QStringList Times;
        // Read once each tick that moved the overall bar has finished.
        connect(
            &Rig.Progress->OverallBar(), &QProgressBar::valueChanged, this,
            [&] {
                if (Songs.isEmpty() || Songs.last() != Rig.Progress->Text("SongNumberLabel")) {
                    Songs << Rig.Progress->Text("SongNumberLabel");
                }
                Times << Rig.Progress->Text("TimeLabel");
            },
            Qt::QueuedConnection);
        QVERIFY(Rig.RunToTheEnd());
        QCoreApplication::processEvents();
        QCOMPARE(Songs, (QStringList{"Song 1 of 3", "Song 2 of 3", "Song 3 of 3"}));
        const QRegularExpression Running("^[0-9.]+ s elapsed, about [0-9.]+ s left$");
        for (qsizetype i = 0; i + 1 < Times.size(); ++i) {
            QVERIFY2(Running.match(Times[i]).hasMatch(), qPrintable(Times[i]));
        }
        QVERIFY(QRegularExpression("^[0-9.]+ s elapsed$").match(Times.last()).hasMatch());
    }

    void once_the_send_has_ended_the_dialog_says_how_and_enter_closes_it_data() {
        QTest::addColumn<int>("Fault");  // 0 none, 1 the device cancels, 2 it never replies
        QTest::addColumn<bool>("bBlind");
        QTest::addColumn<QString>("Summary");  // ending in "in ": the time elapsed follows
        QTest::newRow("all sent") << 0 << false << "2 of 2 songs sent in ";
        QTest::newRow("all sent blind")
            << 0 << true << "2 of 2 songs sent in , blind: not confirmed by the device";
        const QString Reason =
            QString::fromUtf8("File Length = 0 OR no \u2018MIDI\u2019 in file header.");
        QTest::newRow("the device cancels")
            << 1 << false
            << "Stopped at song0.mid: the device cancelled (" + Reason + "); 0 of 2 songs sent";
        QTest::newRow("the device never replies")
            << 2 << false << "Stopped at song0.mid: the device did not answer; 0 of 2 songs sent";
    }
    void once_the_send_has_ended_the_dialog_says_how_and_enter_closes_it() {
        QFETCH(int, Fault);
        QFETCH(bool, bBlind);
        QFETCH(QString, Summary);
        tTavDeviceOptions Options;
        Options.iCancelAt = Fault == 1 ? 2 : tTavDeviceOptions::kNever;
        Options.ucCancelReason = 1;
        Options.bBlind = Fault == 2;
        cSummaryRig Rig(2, bBlind, Options);
        LoadFileDialog& Dialog = *Rig.Dialog;
        QVERIFY(Rig.RunToTheEnd());
        QVERIFY(Rig.Progress->Get<QLabel>("SummaryLabel").isVisible());
        if (Fault == 0) {
            // The time elapsed is the one the time label shows.
            const QString Elapsed = Rig.Progress->Text("TimeLabel").remove(" elapsed");
            Summary.insert(Summary.indexOf(" in ") + 4, Elapsed);
        }
        QCOMPARE(Rig.Progress->Text("SummaryLabel"), Summary);
        QCOMPARE(Dialog.windowTitle(), "Loading Files ... Finished");
        QVERIFY(!Rig.Progress->Get<QPushButton>("LFD_Abort").isEnabled());
        QVERIFY(Rig.Progress->Get<QPushButton>("LFD_OK").isDefault());
        QTest::keyClick(&Dialog, Qt::Key_Return);
        QCOMPARE(Dialog.result(), int(DIALOG_OK));
        QVERIFY(!Dialog.isVisible());
    }
};

SONGLOADER_UI_TEST(ProgressSummaryTest);

#include "ProgressSummaryTest.moc"
