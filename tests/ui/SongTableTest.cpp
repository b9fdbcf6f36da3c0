#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <iterator>
#include <memory>

#include "TestTables.h"
#include "UiTestRegistry.h"
#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "app/DuplicateSongs.h"
#include "app/SongBatch.h"
#include "app/SongDetails.h"
#include "app/SongFiles.h"
#include "app/SongListStatus.h"
#include "app/SongVetting.h"
#include "app/TransferEstimate.h"
#include "ui/LoadFileDialog.h"
#include "ui/SongListWidget.h"

namespace {

QString Text(const std::string& Text) {
    return QString::fromStdString(Text);
}

// The row the list is to show for a song, as the application layer reads it.
QStringList ExpectedRow(const QString& Song, bool bMergeTracks, const tTransferSettings& Settings,
                        const std::string& DuplicateNote) {
    const tSongDetails Details = ReadSongDetails(Song.toStdString(), bMergeTracks);
    const bool bSent = Details.Converted;  // a song that cannot be sent has no size or time
    return {QFileInfo(Song).fileName(),
            Text(Details.DeviceName),
            bSent ? Text(DescribeBytes(Details.X10Bytes)) : "",
            bSent ? QString::number(Details.Packets) : "",
            bSent ? Text(DescribeDuration(SongSendMs(Details, Settings))) : "",
            Text(SongNote(Details, DuplicateNote))};
}

void CompareRows(const MainWindowDriver& Window, const QStringList& asSongs, bool bMergeTracks) {
    const SongListWidget& List = Window.SongList();
    QCOMPARE(List.rowCount(), asSongs.size());
    std::vector<std::filesystem::path> Paths;
    for (const QString& Song : asSongs) {
        Paths.push_back(Song.toStdString());
    }
    const std::vector<std::string> Duplicates = DuplicateNotes(Paths);
    for (int iRow = 0; iRow < asSongs.size(); ++iRow) {
        QCOMPARE(Window.Cells(iRow), ExpectedRow(asSongs[iRow], bMergeTracks,
                                                 Window.Form.TransferSettings(), Duplicates[iRow]));
        for (int iColumn = 0; iColumn < List.columnCount(); ++iColumn) {
            QCOMPARE(List.item(iRow, iColumn)->toolTip(), asSongs[iRow]);
        }
    }
}

void SetMerging(const MainWindowDriver& Window, bool bOn) {
    QAction& Merge = Window.Get<QAction>("mergeTracksToolStripMenuItem");
    if (Merge.isChecked() != bOn) {
        Merge.trigger();
    }
}

void ClickHeader(const SongListWidget& List, int iColumn) {
    QHeaderView* pHeader = List.horizontalHeader();
    const QPoint At(pHeader->sectionViewportPosition(iColumn) + pHeader->sectionSize(iColumn) / 2,
                    pHeader->height() / 2);
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier, At);
}

enum tColumn { FILE_COLUMN = 0, SIZE_COLUMN = 2 };

struct tKey {
    const char* Name;
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    const char* Button;  // the button it presses; null: none
    int FileDialogs;
};

}  // namespace

Q_DECLARE_METATYPE(tKey)

// The main window's song table and what surrounds it: each song's details and notes, the status
// bar, sorting, growing, the keyboard, and the ways songs come in.
class SongTableTest : public QObject {
    Q_OBJECT

  private slots:
    void each_row_shows_what_its_song_becomes_on_the_device_data() {
        QTest::addColumn<QStringList>("Kinds");
        QTest::addColumn<bool>("bMergeTracks");
        QTest::newRow("a format-0 song") << QStringList{"good"} << false;
        QTest::newRow("events removed at an instant") << QStringList{"crowded"} << false;
        QTest::newRow("larger than 100 KB") << QStringList{"big"} << false;
        QTest::newRow("merged from its tracks") << QStringList{"format1"} << true;
        QTest::newRow("the same song twice") << QStringList{"good", "crowded", "good"} << false;
    }
    void each_row_shows_what_its_song_becomes_on_the_device() {
        QFETCH(QStringList, Kinds);
        QFETCH(bool, bMergeTracks);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        SetMerging(Window, bMergeTracks);
        QStringList asSongs;
        for (const QString& Kind : Kinds) {
            asSongs << UiTestSongs::OfKind(Rig.Folder, Kind, Kind.toStdString() + ".mid");
        }
        Rig.Dialogs.Answers = {true};
        Rig.LoadSongs(asSongs);
        CompareRows(Window, asSongs, bMergeTracks);
    }

    void send_times_and_notes_follow_the_settings_data() {
        QTest::addColumn<QString>("Change");
        QTest::newRow("time between packets in Advanced Options") << "packets";
        QTest::newRow("merge option turned off") << "merge off";
    }
    void send_times_and_notes_follow_the_settings() {
        QFETCH(QString, Change);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        SetMerging(Window, true);
        const QStringList asSongs{UiTestSongs::OfKind(Rig.Folder, "format1", "tracks.mid"),
                                  UiTestSongs::Format0(Rig.Folder, "one.mid", 40)};
        Rig.LoadSongs(asSongs);
        if (Change == "packets") {
            Rig.Dialogs.OnModal = [](QDialog& Dialog) {
                AdvancedOptionsDriver(Dialog).Type("TimeBetweenPackets", "70");
                return PressAtOnce(Dialog, "DWOK");
            };
            Window.Choose("advancedOptionsToolStripMenuItem");
            QCOMPARE(Window.Form.TransferSettings().iTimeBetweenPackets, 70);
        } else {
            SetMerging(Window, false);
        }
        CompareRows(Window, asSongs, Change != "merge off");
    }

    void the_status_bar_counts_the_ticked_songs_and_their_send() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QLabel& Status =
            Control<QLabel>(Window.Get<QStatusBar>("SongListStatusBar"), "SongListStatusText");
        const QStringList asSongs{UiTestSongs::Format0(Rig.Folder, "a.mid", 30),
                                  UiTestSongs::Format0(Rig.Folder, "b.mid", 5),
                                  UiTestSongs::Format0(Rig.Folder, "c.mid", 60)};
        std::vector<tSongDetails> Details;
        for (const QString& Song : asSongs) {
            Details.push_back(ReadSongDetails(Song.toStdString(), false));
        }
        struct tStep {
            const char* szName;
            std::function<void()> Act;
            std::vector<int> Rows;  // of asSongs, as listed
            std::vector<bool> Ticks;
        };
        const tStep aSteps[] = {
            {"empty", [] {}, {}, {}},
            {"added", [&] { Rig.LoadSongs(asSongs); }, {0, 1, 2}, {true, true, true}},
            {"one unticked", [&] { Window.ClickRow(1); }, {0, 1, 2}, {true, false, true}},
            {"handshakes",
             [&] { ChangeSettings(Window.Form, [](auto& S) { S.bBlindTransfer = false; }); },
             {0, 1, 2},
             {true, false, true}},
            {"ticked removed", [&] { Window.Click("REMOVE_SELECTED"); }, {1}, {false}},
        };
        for (const tStep& Step : aSteps) {
            Step.Act();
            std::vector<tListedSong> Listed;
            for (size_t i = 0; i < Step.Rows.size(); ++i) {
                Listed.push_back({&Details[size_t(Step.Rows[i])], Step.Ticks[i]});
            }
            QVERIFY2(Status.text() == Text(SongListStatus(Listed, Window.Form.TransferSettings())),
                     Step.szName);
        }
    }

    void a_header_click_sorts_the_rows_and_the_send_takes_them_as_shown_data() {
        QTest::addColumn<QList<int>>("Clicks");
        QTest::addColumn<QStringList>("Shown");
        QTest::newRow("by file name") << QList<int>{FILE_COLUMN} << QStringList{"a", "b", "c"};
        QTest::newRow("by size") << QList<int>{SIZE_COLUMN} << QStringList{"a", "c", "b"};
        QTest::newRow("by size, largest first")
            << QList<int>{SIZE_COLUMN, SIZE_COLUMN} << QStringList{"b", "c", "a"};
    }
    void a_header_click_sorts_the_rows_and_the_send_takes_them_as_shown() {
        QFETCH(QList<int>, Clicks);
        QFETCH(QStringList, Shown);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Rig.LoadSongs({UiTestSongs::Format0(Rig.Folder, "b.mid", 60),
                       UiTestSongs::Format0(Rig.Folder, "a.mid", 3),
                       UiTestSongs::Format0(Rig.Folder, "c.mid", 20)});
        Window.SongList().SetChecked(2, false);  // c
        for (int iColumn : Clicks) {
            ClickHeader(Window.SongList(), iColumn);
        }
        QStringList asShown;
        QStringList asSent;
        for (const QString& Name : Shown) {
            asShown << Name + ".mid";
            if (Name != "c") {
                asSent << UiTestSongs::Text(Rig.Folder / (Name.toStdString() + ".mid"));
            }
        }
        QCOMPARE(Window.RowTexts(), asShown);
        QCOMPARE(Window.SongList().IsChecked(int(Shown.indexOf("c"))), false);

        QStringList asGiven;
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            for (const std::filesystem::path& Song : As<LoadFileDialog>(Dialog).Plan().SongPaths) {
                asGiven << UiTestSongs::Text(Song);
            }
            return PressAtOnce(Dialog, "LFD_OK");
        };
        Window.SendChecked();
        QCOMPARE(asGiven, asSent);
    }

    void the_window_grows_and_only_the_list_takes_the_room() {
        cWindowRig Rig;
        Form1& Window = Rig.Open();
        const QSize Documented(680, 440);
        QCOMPARE(Window.size(), Documented);
        QCOMPARE(Window.minimumSize(), Documented);
        QVERIFY(Window.windowFlags() & Qt::WindowMaximizeButtonHint);
        // Each control keeps its size and its distance from the corner it sits in.
        const std::pair<const char*, bool> aControls[] = {
            {"TAV_PIC", true},           {"pictureBox1", true},
            {"MidiInDevice", true},      {"LabelMIDIOutDevice", true},
            {"LOAD_MORE_SONGS", false},  {"REMOVE_SELECTED", false},
            {"LOAD_SONGS_TO_TAV", false}};
        const auto Place = [&](const char* szName, bool bTopRight) {
            const QWidget* pControl = &Control<QWidget>(Window, szName);
            const QPoint At = pControl->mapTo(&Window, QPoint());
            return QRect(bTopRight ? QPoint(Window.width() - At.x(), At.y())
                                   : QPoint(At.x(), Window.height() - At.y()),
                         pControl->size());
        };
        std::vector<QRect> Before;
        for (const auto& [szName, bTopRight] : aControls) {
            Before.push_back(Place(szName, bTopRight));
        }
        const SongListWidget& List = Control<SongListWidget>(Window, "MIDI_SONG_LIST");
        const QSize ListBefore = List.size();

        Window.resize(1000, 700);
        QTRY_COMPARE(Window.size(), QSize(1000, 700));
        QTRY_COMPARE(List.size(), ListBefore + QSize(320, 260));
        for (size_t i = 0; i < std::size(aControls); ++i) {
            const auto& [szName, bTopRight] = aControls[i];
            QVERIFY2(Place(szName, bTopRight) == Before[i], szName);
        }
    }

    void keys_reach_the_list_and_every_button_data() {
        AddRows<tKey>({
            {"Alt+L", Qt::Key_L, Qt::AltModifier, "LOAD_MORE_SONGS", 1},
            {"Alt+N", Qt::Key_N, Qt::AltModifier, "SELECT_NONE_BUTTON", 0},
            {"Alt+A", Qt::Key_A, Qt::AltModifier, "SELECT_ALL_BUTTON", 0},
            {"Alt+R", Qt::Key_R, Qt::AltModifier, "REMOVE_SELECTED", 0},
            {"Alt+T", Qt::Key_T, Qt::AltModifier, "LOAD_SONGS_TO_TAV", 0},
            {"Ctrl+O opens Load Songs", Qt::Key_O, Qt::ControlModifier, nullptr, 1},
        });
    }
    void keys_reach_the_list_and_every_button() {
        QFETCH(tKey, Row);
        cWindowRig Rig;
        Form1& Window = Rig.Open();
        Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window));
        std::unique_ptr<QSignalSpy> Pressed;
        if (Row.Button != nullptr) {
            Pressed = std::make_unique<QSignalSpy>(&Control<QPushButton>(Window, Row.Button),
                                                   &QPushButton::clicked);
        }
        QTest::keyClick(&Window, Row.Key, Row.Modifiers);
        // A mnemonic presses its button a moment later, as a click the user can see.
        if (Pressed) {
            QTRY_COMPARE(Pressed->count(), 1);
        }
        QCOMPARE(Rig.Dialogs.FileDialogTitles.size(), Row.FileDialogs);
    }

    void tab_goes_from_the_list_through_the_buttons_and_space_ticks_the_current_row() {
        cWindowRig Rig;
        Form1& Window = Rig.Open();
        Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window));
        Rig.LoadSongs(Rig.Songs({"a.mid", "b.mid"}));
        SongListWidget* pList = &Control<SongListWidget>(Window, "MIDI_SONG_LIST");
        pList->setFocus();
        QStringList asFocus;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            asFocus << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(asFocus, (QStringList{"LOAD_MORE_SONGS", "SELECT_NONE_BUTTON", "SELECT_ALL_BUTTON",
                                       "REMOVE_SELECTED", "LOAD_SONGS_TO_TAV", "MIDI_SONG_LIST"}));
        pList->setCurrentCell(1, 0);
        QTest::keyClick(pList, Qt::Key_Space);
        QCOMPARE(pList->IsChecked(0), true);
        QCOMPARE(pList->IsChecked(1), false);
    }

    void the_file_dialog_shows_song_files_and_opens_in_the_folder_last_used() {
        cWindowRig Rig;
        Rig.Open();
        std::filesystem::create_directory(Rig.Folder / "songs");
        const QString Song = UiTestSongs::Format0(Rig.Folder, "songs/a.mid");
        Rig.LoadSongs({Song});
        QCOMPARE(Rig.Dialogs.FileDialogFilters,
                 QStringList{"MIDI files (" + Text(SongFilePatterns()) + ")"});
        const tSavedSettings Saved = SettingsFile::Read(Rig.Folder / SettingsFile::kFileName);
        QCOMPARE(Saved.LastFolder, Rig.Folder / "songs");
        QCOMPARE(Saved.iInPort, 0);  // the device lines stay as they were
        QCOMPARE(Saved.iOutPort, 0);

        const MainWindowDriver Next(Rig.Open(false));  // the next start
        Next.Click("LOAD_MORE_SONGS");                 // cancelled
        QCOMPARE(Next.Get<QFileDialog>("openMIDIFileDialog").directory().absolutePath(),
                 UiTestSongs::Text(Rig.Folder / "songs"));
    }

    void a_dropped_folder_adds_the_midi_files_directly_in_it_after_vetting_data() {
        QTest::addColumn<QStringList>("Files");  // name:kind, in the dropped folder
        QTest::newRow("songs in name order") << QStringList{"Song 10.mid:good", "song 2.MID:good",
                                                            "notes.txt:good", "inner/c.mid:good"};
        QTest::newRow("no MIDI file") << QStringList{"notes.txt:good"};
        QTest::newRow("a multi-track song, merging off")
            << QStringList{"a.mid:good", "b.mid:format1"};
    }
    void a_dropped_folder_adds_the_midi_files_directly_in_it_after_vetting() {
        QFETCH(QStringList, Files);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const std::filesystem::path Folder = Rig.Folder / "dropped";
        std::filesystem::create_directories(Folder / "inner");
        for (const QString& File : Files) {
            UiTestSongs::OfKind(Rig.Folder, File.section(':', 1),
                                "dropped/" + File.section(':', 0, 0).toStdString());
        }
        Window.Drop({UiTestSongs::Text(Folder)});

        const tDroppedSongs Expected = SongsFromDrop({Folder});
        QStringList asMessages;
        QStringList asAdded;
        if (!Expected.Problem.empty()) {
            asMessages << Text(Expected.Problem);
        } else if (const auto Refusal = VetSongBatch(Expected.Batch, false, {})) {
            asMessages << Text(RefusalWithMergeHint(Refusal->Vetting, false));
        } else {
            for (const std::filesystem::path& Song : Expected.Batch) {
                asAdded << UiTestSongs::Text(Song);
            }
        }
        QCOMPARE(Rig.Dialogs.Texts(), asMessages);
        QCOMPARE(Window.SongList().SongPaths(), asAdded);
        QVERIFY(!asMessages.isEmpty() || !asAdded.isEmpty());
    }
};

SONGLOADER_UI_TEST(SongTableTest);

#include "SongTableTest.moc"
