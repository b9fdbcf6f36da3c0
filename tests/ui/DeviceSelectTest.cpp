#include <QTest>
#include <string>

#include "TestTables.h"
#include "UiTestRegistry.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "app/SettingsFile.h"

namespace {

// The file the window writes for a choice: the layer's own format.
QString Saved(int32_t iIn, int32_t iOut, const std::string& InName, const std::string& OutName) {
    return QString::fromStdString(SettingsFile::Format({iIn, iOut, InName, OutName, false}));
}

// Ends the dialog with its close box; its result.
int Close(const DeviceSelectDriver& Dialog) {
    Dialog.Select.close();
    return Dialog.Select.result();
}

struct tEnding {
    const char* Name;
    QString Before;  // the settings file at start; empty: none
    int PickIn;      // -1: no pick
    int PickOut;
    bool bOk;        // or the close box
    QString Choice;  // as the window then holds and shows it
};

struct tMissing {
    const char* Name;
    bool bSavedTav;  // the file names the TAV ports 1 and 1
    bool bPlugIn;    // the TAV is plugged in after start-up
    int Pick;        // picked in both lists, then OK; -1: closed
    QString Listed;  // the dialog's output list
    QString OutLabel;
    QString File;
};

}  // namespace

Q_DECLARE_METATYPE(tEnding)
Q_DECLARE_METATYPE(tMissing)

// Choosing the devices: the dialog, the labels, and the settings file across runs and across
// devices that come after start-up or are missing.
class DeviceSelectTest : public QObject {
    Q_OBJECT

  private slots:
    void the_dialog_lists_the_devices_and_selects_the_current_choice() {
        cDeviceRig Rig({"Out A", "Out B"}, {"In A", "In B", "In C"});
        Rig.WriteSettings("MIDIINPORT=2\r\nMIDIOUTPORT=-1\r\n");
        Rig.Open();
        QStringList Seen;  // the title, both lists and the entry selected in each
        Rig.ChooseDevices([&](const DeviceSelectDriver& Dialog) {
            Seen << Dialog.Window.windowTitle();
            for (const char* szList : {"MIDIInCB", "MIDIDeviceCB"}) {
                Seen << Dialog.Entries(szList).join(',')
                     << QString::number(Dialog.Get<QComboBox>(szList).currentIndex());
            }
            return Dialog.PressOk();
        });
        QCOMPARE(Seen,
                 (QStringList{"Midi Device Select", "In A,In B,In C", "2", "Out A,Out B", "-1"}));
        QCOMPARE(Rig.Settings(), Saved(2, -1, "In C", ""));
    }

    void the_dialog_s_ending_sets_the_choice_the_labels_and_the_file_data() {
        AddRows<tEnding>({
            {"picks and OK set the choice", "", 1, 0, true, "In B (1), Out A (0)"},
            {"closing keeps the old choice yet rewrites the file",
             "MIDIINPORT=0\r\nMIDIOUTPORT=1\r\nleft over\r\n", 1, 0, false, "In A (0), Out B (1)"},
            {"OK without a pick keeps no device and records minus one", "", -1, 0, true,
             "Invalid Device (-1), Out A (0)"},
        });
    }
    void the_dialog_s_ending_sets_the_choice_the_labels_and_the_file() {
        QFETCH(tEnding, Row);
        cDeviceRig Rig({"Out A", "Out B"}, {"In A", "In B"});
        if (!Row.Before.isEmpty()) {
            Rig.WriteSettings(Row.Before.toStdString());
        }
        const MainWindowDriver Window(Rig.Open());
        if (Row.Before.isEmpty()) {
            QVERIFY(!std::filesystem::exists(Rig.Folder / "SongLoader.ini"));
            QCOMPARE(Window.OutDevice(), "Invalid Device");
        }
        Rig.ChooseDevices([&](const DeviceSelectDriver& Dialog) {
            if (Row.PickIn >= 0) {
                Dialog.Pick("MIDIInCB", Row.PickIn);
            }
            Dialog.Pick("MIDIDeviceCB", Row.PickOut);
            return Row.bOk ? Dialog.PressOk() : Close(Dialog);
        });
        QCOMPARE(Window.Choice(), Row.Choice);
        // The file records the choice just checked; no device is saved with an empty name.
        const tTransferSettings Chosen = Window.Form.TransferSettings();
        const std::string InName =
            Chosen.iSelectedInPort < 0 ? "" : Window.InDevice().toStdString();
        QCOMPARE(Rig.Settings(), Saved(Chosen.iSelectedInPort, Chosen.iSelectedOutPort, InName,
                                       Window.OutDevice().toStdString()));
    }

    void a_software_synthesizer_can_be_chosen_but_the_next_start_drops_it() {
        cDeviceRig Rig({"Out A", "Microsoft GS Wavetable SW Synth"}, {"In A", "In B"});
        const MainWindowDriver Window(Rig.Open());
        Rig.ChooseDevices([](const DeviceSelectDriver& Dialog) {
            Dialog.Pick("MIDIInCB", 1);
            Dialog.Pick("MIDIDeviceCB", 1);
            return Dialog.PressOk();
        });
        QCOMPARE(Window.Choice(), "In B (1), Microsoft GS Wavetable SW Synth (1)");
        QCOMPARE(Rig.Settings(), Saved(1, 1, "In B", "Microsoft GS Wavetable SW Synth"));
        const MainWindowDriver Restarted(Rig.Open());
        QCOMPARE(Restarted.Choice(), "Invalid Device (-1), Invalid Device (-1)");
    }

    void the_choice_outlives_the_program_and_is_checked_at_the_next_start_data() {
        QTest::addColumn<QString>("Saved");
        QTest::addColumn<QString>("Choice");
        QTest::newRow("both valid") << "MIDIINPORT=1\r\nMIDIOUTPORT=1\r\n"
                                    << "In B (1), Out B (1)";
        QTest::newRow("output out of range") << "MIDIINPORT=1\r\nMIDIOUTPORT=2\r\n"
                                             << "In B (1), Invalid Device (-1)";
        QTest::newRow("keys swapped") << "MIDIOUTPORT=0\r\nMIDIINPORT=1\r\n"
                                      << "In A (0), Out B (1)";
        QTest::newRow("a saved name finds its device at another index")
            << "MIDIINPORT=0\r\nMIDIOUTPORT=0\r\nMIDIINNAME=In B\r\nMIDIOUTNAME=Gone\r\n"
            << "In B (1), Invalid Device (-1)";
        QTest::newRow("garbage") << "\x01\x02\r\n==\r\n"
                                 << "Invalid Device (-1), Invalid Device (-1)";
    }
    void the_choice_outlives_the_program_and_is_checked_at_the_next_start() {
        QFETCH(QString, Saved);
        QFETCH(QString, Choice);
        cDeviceRig Rig({"Out A", "Out B"}, {"In A", "In B"});
        Rig.WriteSettings(Saved.toStdString());
        const MainWindowDriver Window(Rig.Open());
        QCOMPARE(Window.Choice(), Choice);
        QVERIFY(Rig.Dialogs.Shown.empty());
        QCOMPARE(Rig.Settings(), Saved);  // reading never writes
    }

    void the_dialog_lists_the_devices_present_now_and_a_missing_device_keeps_its_name_data() {
        const QString TavChosen = Saved(1, 1, "TAV In", "TAV Out");
        AddRows<tMissing>({
            {"plugged in after start-up, then chosen", false, true, 1, "Out A,TAV Out", "TAV Out",
             TavChosen},
            {"missing at start, the dialog closed: the names stay", true, false, -1, "Out A",
             "Invalid Device", Saved(-1, -1, "TAV In", "TAV Out")},
            {"missing at start, back when the dialog opens: chosen again by name", true, true, -1,
             "Out A,TAV Out", "TAV Out", TavChosen},
        });
    }
    void the_dialog_lists_the_devices_present_now_and_a_missing_device_keeps_its_name() {
        QFETCH(tMissing, Row);
        cDeviceRig Rig({"Out A"}, {"In A"});
        if (Row.bSavedTav) {
            Rig.WriteSettings(Saved(1, 1, "TAV In", "TAV Out").toStdString());
        }
        const MainWindowDriver Window(Rig.Open());
        if (Row.bPlugIn) {
            Rig.PlugIn({"TAV Out"}, {"TAV In"});
        }
        QStringList Shown;
        Rig.ChooseDevices([&](const DeviceSelectDriver& Dialog) {
            Shown = Dialog.Entries("MIDIDeviceCB");
            if (Row.Pick < 0) {
                return Close(Dialog);
            }
            Dialog.Pick("MIDIInCB", Row.Pick);
            Dialog.Pick("MIDIDeviceCB", Row.Pick);
            return Dialog.PressOk();
        });
        QCOMPARE(Shown.join(','), Row.Listed);
        QCOMPARE(Window.OutDevice(), Row.OutLabel);
        QCOMPARE(Rig.Settings(), Row.File);
    }

    void a_settings_file_that_cannot_be_written_is_reported_with_its_path() {
        cDeviceRig Rig({"Out A"}, {"In A"});
        // A link to a file in a folder that is not there: the write cannot be done.
        std::filesystem::create_symlink("gone/SongLoader.ini", Rig.Folder / "SongLoader.ini");
        const MainWindowDriver Window(Rig.Open());
        Rig.ChooseDevices(&DeviceSelectDriver::PressOk);
        QCOMPARE(Rig.Dialogs.Shown.size(), size_t{1});
        QVERIFY(Rig.Dialogs.Shown.front().Text.startsWith(Window.Form.SettingsFilePath()));
        QCOMPARE(Rig.Dialogs.Shown.front().Caption, "Settings File Error");
    }
};

SONGLOADER_UI_TEST(DeviceSelectTest);

#include "DeviceSelectTest.moc"
