#include <QFileDialog>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <string>
#include <vector>

#include "TestTables.h"
#include "UiTestRegistry.h"
#include "UiTestSongs.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "app/SettingsFile.h"
#include "app/SongMessages.h"

namespace {

const QString kSizeQuestion =
    " Is larger than 100k, such a large file may have performance issues and it is not "
    "recommended you load it Do you wish to proceed? ";
const QString kNoOutput =
    "Note: You have no available Midi Out devices. This program is useless without a Midi Out "
    "Device";
const QString kNoInput =
    "You have no available Midi In devices. This program is useless without a Midi In Device";

// Devices named Prefix 0, Prefix 1, ...
std::vector<std::string> Numbered(const std::string& Prefix, int iCount) {
    std::vector<std::string> asNames;
    for (int i = 0; i < iCount; ++i) {
        asNames.push_back(Prefix + std::to_string(i));
    }
    return asNames;
}

struct tDevicesAtStart {
    const char* Name;
    int Outputs;
    int Inputs;
    QStringList Messages;
};

// Which songs are asked about and refused is the layer's (its own tests); here: what the user
// sees of it. Each shown message is "index in the batch:kind".
struct tBatch {
    const char* Name;
    QStringList Kinds;
    QList<bool> Answers;
    QStringList Shown;
    bool bAdded;
};

struct tRefusal {
    const char* Name;
    int Out;
    int In;
    bool bChecked;
    QString Message;
    QString Caption;
};

}  // namespace

Q_DECLARE_METATYPE(tDevicesAtStart)
Q_DECLARE_METATYPE(tBatch)
Q_DECLARE_METATYPE(tRefusal)

// The main window without a transfer: start-up, adding and vetting songs, the list, the
// refusals of the transfer button, the menu.
class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void start_up_raises_the_thread_priority_and_shows_the_saved_devices_and_settings_path() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open(true));
        QCOMPARE(QThread::currentThread()->priority(), QThread::HighestPriority);
        QCOMPARE(Window.Choice(), "TAV Emulator (0), TAV Emulator (0)");
        QCOMPARE(Window.Form.SettingsFilePath(), UiTestSongs::Text(Rig.Folder / "SongLoader.ini"));
        QVERIFY(Rig.Dialogs.Shown.empty());
    }

    void start_up_warns_about_each_missing_kind_of_device_data() {
        AddRows<tDevicesAtStart>({{"no devices at all", 0, 0, {kNoOutput, kNoInput}},
                                  {"no output device", 0, 1, {kNoOutput}},
                                  {"no input device", 2, 0, {kNoInput}},
                                  {"both kinds", 1, 1, {}}});
    }
    void start_up_warns_about_each_missing_kind_of_device() {
        QFETCH(tDevicesAtStart, Row);
        cDeviceRig Rig(Numbered("Out ", Row.Outputs), Numbered("In ", Row.Inputs));
        Rig.WriteSettings(SettingsFile::Format({0, 0, "", "", false}));
        const MainWindowDriver Window(Rig.Open());
        QCOMPARE(Rig.Dialogs.Texts(), Row.Messages);
        QCOMPARE(Rig.Dialogs.Captions(), QStringList(Row.Messages.size(), "Midi Device Error"));
        QCOMPARE(Window.Choice(), Row.Messages.isEmpty()
                                      ? "In 0 (0), Out 0 (0)"
                                      : "Invalid Device (-1), Invalid Device (-1)");
    }

    void a_batch_is_added_whole_or_not_at_all_data() {
        AddRows<tBatch>({
            {"three good songs", {"good", "good", "good"}, {}, {}, true},
            {"not format 0", {"format1", "good"}, {}, {"0:type"}, false},
            {"not a MIDI file", {"good", "notmidi"}, {}, {"1:invalid"}, false},
            {"100001 bytes asks, Yes adds", {"big"}, {true}, {"0:size"}, true},
            {"100001 bytes asks, No rejects", {"good", "big"}, {false}, {"1:size"}, false},
        });
    }
    void a_batch_is_added_whole_or_not_at_all() {
        QFETCH(tBatch, Row);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        QStringList asBatch;
        for (int i = 0; i < Row.Kinds.size(); ++i) {
            asBatch << UiTestSongs::OfKind(Rig.Folder, Row.Kinds[i],
                                           "song" + std::to_string(i) + ".mid");
        }
        Rig.Dialogs.Answers = Row.Answers;
        Window.AddSongs(asBatch);

        QStringList Texts;
        QStringList Captions;
        for (const QString& Shown : Row.Shown) {
            const QString& Path = asBatch[Shown.section(':', 0, 0).toInt()];
            const QString Kind = Shown.section(':', 1);
            Texts << Path + (Kind == "size"   ? kSizeQuestion
                             : Kind == "type" ? QString(SongMessages::kNotFormat0) +
                                                    SongMessages::kMergeOptionHint
                                              : SongMessages::kNotMidiFile);
            Captions << (Kind == "size"   ? "File Size Error"
                         : Kind == "type" ? "MIDI File Type Error"
                                          : "File Error");
        }
        QCOMPARE(Rig.Dialogs.Texts(), Texts);
        QCOMPARE(Rig.Dialogs.Captions(), Captions);
        for (const tShownMessage& Message : Rig.Dialogs.Shown) {
            QCOMPARE(Message.bQuestion, Message.Caption == "File Size Error");
            QCOMPARE(Message.eIcon, Message.bQuestion ? MESSAGE_ICON_NONE : MESSAGE_ICON_WARNING);
        }
        QCOMPARE(Window.SongList().SongPaths(), Row.bAdded ? asBatch : QStringList{});
        QCOMPARE(Window.SongList().rowCount(), Row.bAdded ? asBatch.size() : 0);
    }

    void new_rows_are_checked_show_the_file_name_and_follow_the_old_ones() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QStringList asSongs = Rig.Songs({"first.mid", "second.mid"});
        Window.AddSongs({asSongs[0]});
        Window.SongList().SetChecked(0, false);
        Window.AddSongs({asSongs[1], asSongs[0]});
        QCOMPARE(Window.RowTexts(), (QStringList{"first.mid", "second.mid", "first.mid"}));
        QCOMPARE(Window.RowChecks(), (QList<bool>{false, true, true}));
        QCOMPARE(Window.SongList().SongPaths(), (QStringList{asSongs[0], asSongs[1], asSongs[0]}));
    }

    void the_load_button_and_menu_item_open_the_file_dialog() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Song = UiTestSongs::Format0(Rig.Folder, "a.mid");
        Rig.Dialogs.FileChoices = {{Song}, {}, {Song}};
        Window.Click("LOAD_MORE_SONGS");
        Window.Click("LOAD_MORE_SONGS");  // cancelled
        Window.Choose("loadSongsToolStripMenuItem");
        QCOMPARE(Window.SongList().SongPaths(), (QStringList{Song, Song}));
        QCOMPARE(Rig.Dialogs.FileDialogTitles, QStringList(3, "Select MIDI Files To Load"));
        QCOMPARE(Window.Get<QFileDialog>("openMIDIFileDialog").fileMode(),
                 QFileDialog::ExistingFiles);
    }

    void a_drag_of_files_is_accepted_as_a_copy_and_other_drags_are_refused() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const auto Files = FileDrag(Rig.Songs({"a.mid"}));
        QCOMPARE(Window.Enter(*Files, Qt::CopyAction | Qt::MoveAction),
                 std::make_pair(true, Qt::CopyAction));
        QMimeData Text;
        Text.setText("a.mid");
        QCOMPARE(Window.Enter(Text, Qt::CopyAction).first, false);
    }

    void dropped_files_are_vetted_by_content_whatever_their_names() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QStringList asSongs = Rig.Songs({"song.txt", "other"});
        Window.Drop(asSongs);
        QCOMPARE(Window.RowTexts(), (QStringList{"song.txt", "other"}));
        QCOMPARE(Window.SongList().SongPaths(), asSongs);

        const QString Bad = UiTestSongs::OfKind(Rig.Folder, "notmidi", "notes.mid");
        Window.Drop({Bad});
        QCOMPARE(Rig.Dialogs.Texts(), QStringList{Bad + SongMessages::kNotMidiFile});
        QCOMPARE(Window.SongList().rowCount(), 2);
    }

    void the_vetting_message_says_why_a_song_cannot_be_added() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Gone = UiTestSongs::Text(Rig.Folder / "gone.mid");
        const QString Nameless = UiTestSongs::Format0(Rig.Folder, "....");
        Window.AddSongs({Gone});
        Window.AddSongs({Nameless});
        QCOMPARE(
            Rig.Dialogs.Texts(),
            (QStringList{Gone + SongMessages::kNotMidiFile + " (" + UiTestSongs::NoSuchFile() + ")",
                         Nameless + " gives the device no song name: its file name must "
                                    "have a character other than '.'"}));
        QCOMPARE(Rig.Dialogs.Shown.back().Caption, "File Error");
        QCOMPARE(Window.SongList().rowCount(), 0);
    }

    void one_click_anywhere_on_a_row_toggles_its_check() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.AddSongs(Rig.Songs({"a.mid", "b.mid"}));
        Window.ClickRow(1);
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, false}));
        // On the check box itself, at the row's left edge: still exactly one toggle.
        Window.ClickRow(1, true);
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, true}));
        Window.ClickRow(1, true);
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, false}));
        QTest::keyClick(&Window.SongList(), Qt::Key_Space);
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, true}));
    }

    void select_all_and_select_none_set_every_row() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.Click("SELECT_ALL_BUTTON");  // empty list
        QCOMPARE(Window.SongList().rowCount(), 0);
        Window.AddSongs(Rig.Songs({"a.mid", "b.mid", "c.mid"}));
        Window.SongList().SetChecked(1, false);
        Window.Click("SELECT_NONE_BUTTON");
        QCOMPARE(Window.RowChecks(), (QList<bool>{false, false, false}));
        Window.SongList().SetChecked(2, true);
        Window.Click("SELECT_ALL_BUTTON");
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, true, true}));
    }

    void remove_selected_keeps_every_remaining_row_tied_to_its_path() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QStringList asSongs = Rig.Songs({"s0.mid", "s1.mid", "s2.mid", "s3.mid", "s4.mid"});
        Window.AddSongs(asSongs);
        Window.Click("SELECT_NONE_BUTTON");
        Window.Click("REMOVE_SELECTED");  // nothing checked
        QCOMPARE(Window.SongList().SongPaths(), asSongs);
        QCOMPARE(Window.SongList().rowCount(), 5);

        Window.SongList().SetChecked(1, true);
        Window.SongList().SetChecked(3, true);
        Window.Click("REMOVE_SELECTED");
        QCOMPARE(Window.RowTexts(), (QStringList{"s0.mid", "s2.mid", "s4.mid"}));
        QCOMPARE(Window.SongList().SongPaths(), (QStringList{asSongs[0], asSongs[2], asSongs[4]}));
        QCOMPARE(Window.RowChecks(), (QList<bool>{false, false, false}));
    }

    void the_transfer_is_refused_with_the_first_cause_that_applies_data() {
        const QString Device = "MIDI Device Error";
        AddRows<tRefusal>({
            {"no devices and nothing checked", -1, -1, false, "Invalid Midi Devices!", Device},
            {"no devices", -1, -1, true, "Invalid Midi Devices!", Device},
            {"no output device", -1, 0, true, "Invalid Midi Out Device!", Device},
            {"no input device", 0, -1, false, "Invalid Midi In Device!", Device},
            {"nothing checked", 0, 0, false, "No Files Loaded!", "File Load Error"},
        });
    }
    void the_transfer_is_refused_with_the_first_cause_that_applies() {
        QFETCH(tRefusal, Row);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Song = UiTestSongs::Format0(Rig.Folder, "a.mid");
        Window.AddSongs({Song});
        Window.SongList().SetChecked(0, Row.bChecked);
        ChangeSettings(Window.Form, [&](tTransferSettings& S) {
            S.iSelectedOutPort = Row.Out;
            S.iSelectedInPort = Row.In;
        });
        Window.SendChecked();
        QCOMPARE(Rig.Dialogs.Texts(), QStringList{Row.Message});
        QCOMPARE(Rig.Dialogs.Captions(), QStringList{Row.Caption});
        QVERIFY(Rig.Dialogs.ModalDialogs.isEmpty());
        QVERIFY(!std::filesystem::exists(UiTestSongs::X10PathOf(Song)));
        QCOMPARE(Window.SendText(), "Transfer Checked To TAV 30");
        QVERIFY(Window.SendButton().isEnabled());
    }

    void the_button_reads_converting_until_the_transfer_is_over() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.AddSongs(Rig.Songs({"a.mid"}));
        QString TextDuringConversion;
        bool bEnabledDuringConversion = true;
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            TextDuringConversion = Window.SendButton().text();
            bEnabledDuringConversion = Window.SendButton().isEnabled();
            return PressAtOnce(Dialog, "LFD_OK");
        };
        Window.SendChecked();
        QCOMPARE(TextDuringConversion, "Converting Songs ...");
        QVERIFY(!bEnabledDuringConversion);
        QCOMPARE(Window.SendText(), "Transfer Checked To TAV 30");
        QVERIFY(Window.SendButton().isEnabled());
    }

    void file_exit_ends_the_program() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        QSignalSpy Ending(&Window.Form, &Form1::ApplicationEnding);
        Window.Choose("exitToolStripMenuItem");
        QCOMPARE(Ending.count(), 1);
        QVERIFY(!Window.Form.isVisible());
    }

    void the_about_box_is_shown_modally_and_its_ok_ends_it() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        int iResult = -1;
        QString Title;
        Rig.Dialogs.OnModal = [&](QDialog& Dialog) {
            Title = Dialog.windowTitle();
            iResult = PressAtOnce(Dialog, "AboutOK");
            return iResult;
        };
        Window.Choose("aboutToolStripMenuItem");
        QCOMPARE(Rig.Dialogs.ModalDialogs, QStringList{"AboutBox"});
        QCOMPARE(Title, "About  Songloader");
        QCOMPARE(iResult, int(QDialog::Accepted));
    }
};

SONGLOADER_UI_TEST(MainWindowTest);

#include "MainWindowTest.moc"
