#include <QDragEnterEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <string>
#include <system_error>
#include <vector>

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

}  // namespace

// The main window without a transfer: start-up, adding and vetting songs, the list, the
// refusals of the transfer button, the menu.
class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void start_up_raises_the_interface_thread_to_the_highest_priority() {
        cWindowRig Rig;
        Rig.Open();
        QCOMPARE(QThread::currentThread()->priority(), QThread::HighestPriority);
    }

    void start_up_warns_about_each_missing_kind_of_device_data() {
        QTest::addColumn<int>("Outputs");
        QTest::addColumn<int>("Inputs");
        QTest::addColumn<QStringList>("Messages");
        const QString Out =
            "Note: You have no available Midi Out devices. This program is useless without a "
            "Midi Out Device";
        const QString In =
            "You have no available Midi In devices. This program is useless without a Midi In "
            "Device";
        QTest::newRow("no devices at all") << 0 << 0 << QStringList{Out, In};
        QTest::newRow("no output device") << 0 << 1 << QStringList{Out};
        QTest::newRow("no input device") << 2 << 0 << QStringList{In};
        QTest::newRow("both kinds") << 1 << 1 << QStringList{};
    }
    void start_up_warns_about_each_missing_kind_of_device() {
        QFETCH(int, Outputs);
        QFETCH(int, Inputs);
        QFETCH(QStringList, Messages);
        std::vector<std::string> asOutputs;
        std::vector<std::string> asInputs;
        for (int i = 0; i < Outputs; ++i) {
            asOutputs.push_back("Out " + std::to_string(i));
        }
        for (int i = 0; i < Inputs; ++i) {
            asInputs.push_back("In " + std::to_string(i));
        }
        cDeviceRig Rig(asOutputs, asInputs);
        Rig.WriteSettings(SettingsFile::Format({0, 0, "", "", false}));
        const MainWindowDriver Window(Rig.Open());

        QCOMPARE(Rig.Dialogs.Texts(), Messages);
        for (const tShownMessage& Message : Rig.Dialogs.Shown) {
            QCOMPARE(Message.Caption, "Midi Device Error");
        }
        const bool bBoth = Outputs > 0 && Inputs > 0;
        QCOMPARE(Window.Form.TransferSettings().iSelectedOutPort, bBoth ? 0 : -1);
        QCOMPARE(Window.Form.TransferSettings().iSelectedInPort, bBoth ? 0 : -1);
        QCOMPARE(Window.OutDevice(), bBoth ? "Out 0" : "Invalid Device");
        QCOMPARE(Window.InDevice(), bBoth ? "In 0" : "Invalid Device");
    }

    void start_up_shows_the_saved_devices_and_the_settings_path() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open(true));
        QCOMPARE(Window.OutDevice(), "TAV Emulator");
        QCOMPARE(Window.InDevice(), "TAV Emulator");
        QCOMPARE(Window.Form.SettingsFilePath(),
                 QString::fromStdString((Rig.Folder / "SongLoader.ini").string()));
        QVERIFY(Rig.Dialogs.Shown.empty());
    }

    void a_batch_is_added_whole_or_not_at_all_data() {
        QTest::addColumn<QStringList>("Kinds");
        QTest::addColumn<QList<bool>>("Answers");
        QTest::addColumn<QStringList>("ExpectedShown");
        QTest::addColumn<bool>("bAdded");
        // Which songs are asked about and refused is the layer's (its own tests); here: what the
        // user sees of it.
        QTest::newRow("three good songs")
            << QStringList{"good", "good", "good"} << QList<bool>{} << QStringList{} << true;
        QTest::newRow("not format 0")
            << QStringList{"format1", "good"} << QList<bool>{} << QStringList{"0:type"} << false;
        QTest::newRow("not a MIDI file")
            << QStringList{"good", "notmidi"} << QList<bool>{} << QStringList{"1:invalid"} << false;
        QTest::newRow("100001 bytes asks, Yes adds")
            << QStringList{"big"} << QList<bool>{true} << QStringList{"0:size"} << true;
        QTest::newRow("100001 bytes asks, No rejects")
            << QStringList{"good", "big"} << QList<bool>{false} << QStringList{"1:size"} << false;
    }
    void a_batch_is_added_whole_or_not_at_all() {
        QFETCH(QStringList, Kinds);
        QFETCH(QList<bool>, Answers);
        QFETCH(QStringList, ExpectedShown);
        QFETCH(bool, bAdded);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        QStringList asBatch;
        for (int i = 0; i < Kinds.size(); ++i) {
            asBatch << UiTestSongs::OfKind(Rig.Folder, Kinds[i],
                                           "song" + std::to_string(i) + ".mid");
        }
        Rig.Dialogs.Answers = Answers;
        Window.AddSongs(asBatch);

        QStringList asExpected;
        for (const QString& Shown : ExpectedShown) {
            const QString& Path = asBatch[Shown.section(':', 0, 0).toInt()];
            const QString Kind = Shown.section(':', 1);
            asExpected << Path + (Kind == "size"   ? kSizeQuestion
                                  : Kind == "type" ? QString(SongMessages::kNotFormat0) +
                                                         SongMessages::kMergeOptionHint
                                                   : SongMessages::kNotMidiFile);
        }
        QCOMPARE(Rig.Dialogs.Texts(), asExpected);
        for (const tShownMessage& Message : Rig.Dialogs.Shown) {
            if (Message.bQuestion) {
                QCOMPARE(Message.Caption, "File Size Error");
                QCOMPARE(Message.eIcon, MESSAGE_ICON_NONE);
            } else {
                QVERIFY(Message.Caption == "File Error" ||
                        Message.Caption == "MIDI File Type Error");
                QCOMPARE(Message.eIcon, MESSAGE_ICON_WARNING);
            }
        }
        QCOMPARE(Window.SongList().SongPaths(), bAdded ? asBatch : QStringList{});
        QCOMPARE(Window.SongList().rowCount(), bAdded ? asBatch.size() : 0);
    }

    void new_rows_are_checked_show_the_file_name_and_follow_the_old_ones() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString First = UiTestSongs::Format0(Rig.Folder, "first.mid");
        const QString Second = UiTestSongs::Format0(Rig.Folder, "second.mid");
        Window.AddSongs({First});
        Window.SongList().SetChecked(0, false);
        Window.AddSongs({Second, First});
        QCOMPARE(Window.RowTexts(), (QStringList{"first.mid", "second.mid", "first.mid"}));
        QCOMPARE(Window.RowChecks(), (QList<bool>{false, true, true}));
        QCOMPARE(Window.SongList().SongPaths(), (QStringList{First, Second, First}));
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
        QWidget* pTarget = Window.SongList().viewport();
        const QPoint At = pTarget->rect().center();

        const std::unique_ptr<QMimeData> Files =
            FileDrag({UiTestSongs::Format0(Rig.Folder, "a.mid")});
        QDragEnterEvent FilesEnter(At, Qt::CopyAction | Qt::MoveAction, Files.get(), Qt::LeftButton,
                                   Qt::NoModifier);
        QCoreApplication::sendEvent(pTarget, &FilesEnter);
        QVERIFY(FilesEnter.isAccepted());
        QCOMPARE(FilesEnter.dropAction(), Qt::CopyAction);

        QMimeData Text;
        Text.setText("a.mid");
        QDragEnterEvent TextEnter(At, Qt::CopyAction, &Text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pTarget, &TextEnter);
        QVERIFY(!TextEnter.isAccepted());
    }

    void dropped_files_are_vetted_by_content_whatever_their_names() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Song = UiTestSongs::Format0(Rig.Folder, "song.txt");
        const QString Other = UiTestSongs::Format0(Rig.Folder, "other");
        Window.Drop({Song, Other});
        QCOMPARE(Window.RowTexts(), (QStringList{"song.txt", "other"}));
        QCOMPARE(Window.SongList().SongPaths(), (QStringList{Song, Other}));

        const QString Bad = UiTestSongs::NotMidi(Rig.Folder, "notes.mid");
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
        const QString Missing = QString::fromStdString(
            std::make_error_code(std::errc::no_such_file_or_directory).message());
        QCOMPARE(Rig.Dialogs.Texts(),
                 (QStringList{Gone + SongMessages::kNotMidiFile + " (" + Missing + ")",
                              Nameless + " gives the device no song name: its file name must "
                                         "have a character other than '.'"}));
        QCOMPARE(Rig.Dialogs.Shown.back().Caption, "File Error");
        QCOMPARE(Window.SongList().rowCount(), 0);
    }

    void one_click_anywhere_on_a_row_toggles_its_check() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.AddSongs(
            {UiTestSongs::Format0(Rig.Folder, "a.mid"), UiTestSongs::Format0(Rig.Folder, "b.mid")});
        QWidget* pViewport = Window.SongList().viewport();
        const QRect Row = Window.SongList().visualItemRect(Window.SongList().item(1, 0));
        QTest::mouseClick(pViewport, Qt::LeftButton, Qt::NoModifier, Row.center());
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, false}));
        // On the check box itself, at the row's left edge: still exactly one toggle.
        const QPoint OnBox(Row.left() + 8, Row.center().y());
        QTest::mouseClick(pViewport, Qt::LeftButton, Qt::NoModifier, OnBox);
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, true}));
        QTest::mouseClick(pViewport, Qt::LeftButton, Qt::NoModifier, OnBox);
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, false}));
        QTest::keyClick(&Window.SongList(), Qt::Key_Space);
        QCOMPARE(Window.RowChecks(), (QList<bool>{true, true}));
    }

    void select_all_and_select_none_set_every_row() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.Click("SELECT_ALL_BUTTON");  // empty list
        QCOMPARE(Window.SongList().rowCount(), 0);
        Window.AddSongs({UiTestSongs::Format0(Rig.Folder, "a.mid"),
                         UiTestSongs::Format0(Rig.Folder, "b.mid"),
                         UiTestSongs::Format0(Rig.Folder, "c.mid")});
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
        QStringList asSongs;
        for (int i = 0; i < 5; ++i) {
            asSongs << UiTestSongs::Format0(Rig.Folder, "s" + std::to_string(i) + ".mid");
        }
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
        QTest::addColumn<int>("Out");
        QTest::addColumn<int>("In");
        QTest::addColumn<bool>("bChecked");
        QTest::addColumn<QString>("Message");
        QTest::addColumn<QString>("Caption");
        QTest::newRow("no devices and nothing checked")
            << -1 << -1 << false << "Invalid Midi Devices!"
            << "MIDI Device Error";
        QTest::newRow("no devices") << -1 << -1 << true << "Invalid Midi Devices!"
                                    << "MIDI Device Error";
        QTest::newRow("no output device") << -1 << 0 << true << "Invalid Midi Out Device!"
                                          << "MIDI Device Error";
        QTest::newRow("no input device") << 0 << -1 << false << "Invalid Midi In Device!"
                                         << "MIDI Device Error";
        QTest::newRow("nothing checked") << 0 << 0 << false << "No Files Loaded!"
                                         << "File Load Error";
    }
    void the_transfer_is_refused_with_the_first_cause_that_applies() {
        QFETCH(int, Out);
        QFETCH(int, In);
        QFETCH(bool, bChecked);
        QFETCH(QString, Message);
        QFETCH(QString, Caption);
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        const QString Song = UiTestSongs::Format0(Rig.Folder, "a.mid");
        Window.AddSongs({Song});
        Window.SongList().SetChecked(0, bChecked);
        ChangeSettings(Window.Form, [&](tTransferSettings& S) {
            S.iSelectedOutPort = Out;
            S.iSelectedInPort = In;
        });
        Window.SendChecked();
        QCOMPARE(Rig.Dialogs.Texts(), QStringList{Message});
        QCOMPARE(Rig.Dialogs.Shown.front().Caption, Caption);
        QVERIFY(Rig.Dialogs.ModalDialogs.isEmpty());
        QVERIFY(!std::filesystem::exists(UiTestSongs::X10PathOf(Song)));
        QCOMPARE(WithoutMnemonic(Window.SendButton().text()), "Transfer Checked To TAV 30");
        QVERIFY(Window.SendButton().isEnabled());
    }

    void the_button_reads_converting_until_the_transfer_is_over() {
        cWindowRig Rig;
        const MainWindowDriver Window(Rig.Open());
        Window.AddSongs({UiTestSongs::Format0(Rig.Folder, "a.mid")});
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
        QCOMPARE(WithoutMnemonic(Window.SendButton().text()), "Transfer Checked To TAV 30");
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
