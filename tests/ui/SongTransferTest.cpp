#include <QSignalSpy>
#include <QTest>

#include "TestTables.h"
#include "UiTestRegistry.h"
#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "app/SongMessages.h"
#include "transfer/SongName.h"
#include "ui/LoadFileDialog.h"
#include "ui/PathText.h"
#include "ui/WindowTexts.h"

namespace {

const QString kAborted =
    "You have aborted the song load, for best results, restart this program and your "
    "Orvik/Melko";

bool Exists(const std::filesystem::path& Path) {
    return std::filesystem::exists(Path);
}

// The songs, or their x10 files, that the progress dialog was given, as text.
QStringList Texts(const std::vector<std::filesystem::path>& Paths) {
    QStringList asTexts;
    for (const std::filesystem::path& Path : Paths) {
        asTexts << UiTestSongs::Text(Path);
    }
    return asTexts;
}

struct tEnding {
    const char* Name;
    QString Button;  // empty: the close box
    bool bDebug;
    bool bDeleted;
    bool bProgramEnds;
};

const tTransferPlan& PlanOf(QDialog& Dialog) {
    return As<LoadFileDialog>(Dialog).Plan();
}

// What the device stored under a song's name.
std::vector<uint8_t> Stored(const cWindowRig& Rig, const QString& Song) {
    return ReadAll(Rig.Tav.StoredPathFor(SongNameFromPath(Song.toStdString())));
}

}  // namespace

Q_DECLARE_METATYPE(tEnding)

// The transfer button from conversion to clean-up: what each checked song's conversion says,
// what the progress dialog is given, and which converted files each ending leaves.
class SongTransferTest : public QObject {
    Q_OBJECT

  private slots:
    void checked_songs_are_sent_to_the_device_and_their_x10_files_deleted_after_ok() {
        cWindowRig Rig;  // the device answers every packet
        const MainWindowDriver Window(Rig.Open());
        ChangeSettings(Window.Form, [&](tTransferSettings& S) { S.bBlindTransfer = false; });
        const QString First = UiTestSongs::Format0(Rig.Folder, "first.mid", 40);
        const QString Skipped = UiTestSongs::Format0(Rig.Folder, "skipped.mid");
        const QString Second = UiTestSongs::Format0(Rig.Folder, "second.mid", 3);
        Window.AddSongs({First, Skipped, Second, First});
        Window.SongList().SetChecked(1, false);
        Window.SongList().SetChecked(3, false);

        std::vector<uint8_t> FirstX10;
        std::vector<uint8_t> SecondX10;
        QStringList asSongs;
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            FirstX10 = ReadAll(PlanOf(Dialog).X10Paths.at(0));
            SecondX10 = ReadAll(PlanOf(Dialog).X10Paths.at(1));
            asSongs = Texts(PlanOf(Dialog).SongPaths);
            return RunTransferAndPress(Dialog, "LFD_OK");
        };
        Window.SendChecked();

        QCOMPARE(Rig.Dialogs.ModalDialogs, QStringList{"LoadFileDialog"});
        QVERIFY(Rig.Dialogs.Shown.empty());
        QCOMPARE(asSongs, (QStringList{First, Second}));
        QVERIFY(!FirstX10.empty());
        QCOMPARE(Stored(Rig, First), FirstX10);
        QCOMPARE(Stored(Rig, Second), SecondX10);
        for (const QString& Song : {First, Skipped, Second}) {
            QVERIFY(!Exists(UiTestSongs::X10PathOf(Song)));
        }
        QCOMPARE(Rig.Work.Files(), size_t{0});
        QVERIFY(Window.Form.isVisible());
    }

    void the_progress_dialog_gets_the_window_settings() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.AddSongs(Rig.Songs({"a.mid"}));
        ChangeSettings(Window.Form, [&](tTransferSettings& S) {
            S.iTimeBetweenPackets = 7;
            S.bDebugEnabled = true;
            S.bBlindTransfer = false;
        });
        bool bHandShakeShown = false;
        int iOverallMaximum = 0;
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            const ProgressDialogDriver Progress(Dialog);
            Dialog.show();
            bHandShakeShown = Progress.HandShake().isVisible();
            iOverallMaximum = Progress.OverallBar().maximum();
            return Progress.End("LFD_OK");
        };
        Window.SendChecked();
        QVERIFY(bHandShakeShown);
        QCOMPARE(iOverallMaximum, 100);
        QCOMPARE(Rig.Transfer.bBlindTransfer, false);
        QCOMPARE(Rig.Transfer.uiMidiInBlockSize, 32u);
        QCOMPARE(Rig.Transfer.uiMidiInNumberOfBuffers, 32u);
    }

    void each_ending_of_the_progress_dialog_has_its_clean_up_data() {
        AddRows<tEnding>({
            {"OK", "LFD_OK", false, true, false},
            {"OK with debug on", "LFD_OK", true, true, false},
            {"Abort", "LFD_Abort", false, true, true},
            {"Abort with debug on keeps the files", "LFD_Abort", true, false, true},
            {"close box", "", false, true, false},
            {"close box with debug on keeps the files", "", true, false, false},
            {"Escape", "Escape", false, true, false},
        });
    }
    void each_ending_of_the_progress_dialog_has_its_clean_up() {
        QFETCH(tEnding, Row);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        QSignalSpy Ending(&Window.Form, &Form1::ApplicationEnding);
        const QStringList asSongs = Rig.Songs({"a.mid", "b.mid"});
        // An x10 file that was there before the transfer is not the transfer's to delete.
        const std::vector<uint8_t> Theirs = {1, 2, 3};
        WriteAll(UiTestSongs::X10PathOf(asSongs[0]), Theirs);
        Window.AddSongs(asSongs);
        ChangeSettings(Window.Form, [&](tTransferSettings& S) { S.bDebugEnabled = Row.bDebug; });
        Rig.Dialogs.OnModal = [&Row](QDialog& Dialog) {
            if (!Row.Button.isEmpty() && Row.Button != "Escape") {
                return PressAtOnce(Dialog, Row.Button.toUtf8().constData());
            }
            Dialog.show();
            if (Row.Button.isEmpty()) {
                Dialog.close();
            } else {
                QTest::keyClick(&Dialog, Qt::Key_Escape);
            }
            return Dialog.result();
        };
        Window.SendChecked();

        QCOMPARE(Rig.Work.Files(), size_t(Row.bDeleted ? 0 : 2));  // kept in the work folder
        QCOMPARE(ReadAll(UiTestSongs::X10PathOf(asSongs[0])), Theirs);
        QVERIFY(!Exists(UiTestSongs::X10PathOf(asSongs[1])));
        QVERIFY(Exists(asSongs[0].toStdString()));
        QCOMPARE(Rig.Dialogs.Texts(), Row.bProgramEnds ? QStringList{kAborted} : QStringList{});
        QCOMPARE(Rig.Dialogs.Captions(),
                 Row.bProgramEnds ? QStringList{"TAV Aborted"} : QStringList{});
        QCOMPARE(Ending.count(), Row.bProgramEnds ? 1 : 0);
        QCOMPARE(Window.Form.isVisible(), !Row.bProgramEnds);
    }

    // The file left behind is named, with the system's reason.
    void a_file_that_cannot_be_deleted_does_not_keep_the_others() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.AddSongs(Rig.Songs({"a.mid", "b.mid"}));
        std::vector<std::filesystem::path> X10Paths;
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            // The first x10 file becomes a folder with something in it: it cannot be removed.
            X10Paths = PlanOf(Dialog).X10Paths;
            std::filesystem::remove(X10Paths.at(0));
            std::filesystem::create_directories(X10Paths.at(0) / "keep");
            return PressAtOnce(Dialog, "LFD_OK");
        };
        Window.SendChecked();
        QVERIFY(Exists(X10Paths.at(0) / "keep"));
        QVERIFY(!Exists(X10Paths.at(1)));
        QCOMPARE(Rig.Dialogs.Shown.size(), size_t{1});
        QVERIFY(Rig.Dialogs.Texts().front().startsWith(QString(WindowTexts::kFilesLeft) + "\n" +
                                                       FromPath(X10Paths.at(0)) + ": "));
    }

    void a_song_with_events_removed_is_reported_and_still_sent() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Song = UiTestSongs::OfKind(Rig.Folder, "crowded", "crowded.mid");
        Window.AddSongs({Song});
        const QStringList asSent = Texts(Rig.SendToTheEnd().X10Paths);
        QCOMPARE(Rig.Dialogs.Texts(), QStringList{Song + SongMessages::kEventsRemoved});
        QCOMPARE(Rig.Dialogs.Captions(), QStringList{"MIDI File Error"});
        QCOMPARE(asSent.size(), 1);
        QVERIFY(asSent.front().startsWith(UiTestSongs::Text(Rig.Work.Folder())));
        QVERIFY(!Stored(Rig, Song).empty());
    }

    void a_song_that_fails_to_convert_is_left_out_and_the_others_go_on() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Broken = UiTestSongs::OfKind(Rig.Folder, "cutoff", "broken.mid");
        const QStringList asSongs = Rig.Songs({"good.mid", "gone.mid", "multi.mid", "last.mid"});
        const QString &Good = asSongs[0], &Gone = asSongs[1], &Multi = asSongs[2],
                      &Last = asSongs[3];
        Window.AddSongs({Good, Broken, Gone, Multi, Last});
        std::filesystem::remove(Gone.toStdString());
        UiTestSongs::OfKind(Rig.Folder, "format1", "multi.mid");  // no longer format 0
        const QStringList asX10 = Texts(Rig.SendToTheEnd().X10Paths);
        QCOMPARE(
            Rig.Dialogs.Texts(),
            (QStringList{Broken + SongMessages::kNotMidiFile,
                         Gone + SongMessages::kNotMidiFile + " (" + UiTestSongs::NoSuchFile() + ")",
                         Multi + SongMessages::kNotFormat0 + SongMessages::kMergeOptionHint}));
        QCOMPARE(Rig.Dialogs.Captions(),
                 (QStringList{"File Error", "File Error", "MIDI File Type Error"}));
        QList<bool> Unconverted;  // an empty x10 path for a song left out
        for (const QString& X10 : asX10) {
            Unconverted << X10.isEmpty();
        }
        QCOMPARE(Unconverted, (QList<bool>{false, true, true, true, false}));
        QVERIFY(!Exists(UiTestSongs::X10PathOf(Broken)));
        QVERIFY(!Stored(Rig, Good).empty());
        QVERIFY(!Stored(Rig, Last).empty());
        QVERIFY(!Exists(Rig.Tav.StoredPathFor("broken")));
        QVERIFY(Window.Form.isVisible());
    }

    void when_no_song_converts_no_progress_dialog_opens() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Broken = UiTestSongs::OfKind(Rig.Folder, "cutoff", "broken.mid");
        Window.AddSongs({Broken});
        Window.SendChecked();
        QCOMPARE(Rig.Dialogs.Texts(), QStringList{Broken + SongMessages::kNotMidiFile});
        QVERIFY(Rig.Dialogs.ModalDialogs.isEmpty());
        QCOMPARE(Window.SendText(), "Transfer Checked To TAV 30");
    }

    void a_song_is_sent_from_a_work_file_of_its_own_beside_it_when_the_work_folder_fails_data() {
        EachWay("bWorkFolderUsable", "the work folder cannot be made: hidden beside the song",
                "in the work folder");
    }
    void a_song_is_sent_from_a_work_file_of_its_own_beside_it_when_the_work_folder_fails() {
        QFETCH(bool, bWorkFolderUsable);
        cWindowRig Rig;
        if (!bWorkFolderUsable) {
            std::filesystem::create_directories(Rig.Work.Folder().parent_path());
            WriteAll(Rig.Work.Folder(), {'x'});  // a file where the folder should be
        }
        const MainWindowDriver Window(Rig.Open());
        const QString Song = UiTestSongs::Format0(Rig.Folder, "song.mid");
        Window.AddSongs({Song});
        const std::filesystem::path X10 = Rig.SendToTheEnd().X10Paths.at(0);

        QVERIFY(Rig.Dialogs.Shown.empty());
        QCOMPARE(X10.parent_path(), bWorkFolderUsable ? Rig.Work.Folder() : Rig.Folder.path());
        QVERIFY(X10.filename().string().starts_with(bWorkFolderUsable ? "song." : ".song."));
        QVERIFY(!Stored(Rig, Song).empty());
        QVERIFY(!Exists(X10));  // gone after OK
        QVERIFY(!Exists(UiTestSongs::X10PathOf(Song)));
    }

    void the_same_song_added_twice_is_sent_twice() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Song = UiTestSongs::Format0(Rig.Folder, "twice.mid");
        Window.AddSongs({Song});
        Window.AddSongs({Song});
        QCOMPARE(Texts(Rig.SendToTheEnd().SongPaths), (QStringList{Song, Song}));
        int iReceived = 0;
        for (const std::string& Line : Rig.Tav.ReportLines()) {
            iReceived += Line.find("\"twice\"") != std::string::npos ? 1 : 0;
        }
        QCOMPARE(iReceived, 2);
    }

    void songs_that_share_a_device_name_are_sent_only_when_the_user_says_so_data() {
        EachWay("bYes", "No returns to the list", "Yes sends them");
    }
    void songs_that_share_a_device_name_are_sent_only_when_the_user_says_so() {
        QFETCH(bool, bYes);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QStringList asSongs =
            Rig.Songs({"MySongCollection-01.mid", "MySongCollection-02.mid"});
        Window.AddSongs(asSongs);
        Rig.Dialogs.Answers = {bYes};
        Rig.Dialogs.OnModal = [](QDialog& Dialog) { return PressAtOnce(Dialog, "LFD_OK"); };
        Window.SendChecked();
        QCOMPARE(Rig.Dialogs.Captions(), QStringList{"Same Song Name"});
        QVERIFY(Rig.Dialogs.Shown.front().bQuestion);
        QVERIFY(Rig.Dialogs.Shown.front().Text.startsWith(asSongs.join(" and ")));
        QCOMPARE(Rig.Dialogs.ModalDialogs.size(), bYes ? 1 : 0);
        QCOMPARE(Window.SendText(), "Transfer Checked To TAV 30");
    }
};

SONGLOADER_UI_TEST(SongTransferTest);

#include "SongTransferTest.moc"
