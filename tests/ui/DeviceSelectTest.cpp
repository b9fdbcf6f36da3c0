#include <QTest>

#include "UiTestRegistry.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "app/SettingsFile.h"

namespace {

// The file the window writes for a choice: the layer's own format.
QString Saved(int32_t iIn, int32_t iOut, const char* szIn, const char* szOut) {
    return QString::fromStdString(SettingsFile::Format({iIn, iOut, szIn, szOut, false}));
}

}  // namespace

// Choosing the devices: the dialog, the labels, and the settings file across runs and across
// devices that come after start-up or are missing.
class DeviceSelectTest : public QObject {
    Q_OBJECT

  private slots:
    void the_dialog_lists_the_devices_and_selects_the_current_choice() {
        cDeviceRig Rig({"Out A", "Out B"}, {"In A", "In B", "In C"});
        Rig.WriteSettings("MIDIINPORT=2\r\nMIDIOUTPORT=-1\r\n");
        Rig.Open();
        QStringList asIn;
        QStringList asOut;
        int iInSelected = -2;
        int iOutSelected = -2;
        QString Title;
        Rig.ChooseDevices([&](const DeviceSelectDriver& Dialog) {
            Title = Dialog.Window.windowTitle();
            asIn = Dialog.Entries("MIDIInCB");
            asOut = Dialog.Entries("MIDIDeviceCB");
            iInSelected = Dialog.Get<QComboBox>("MIDIInCB").currentIndex();
            iOutSelected = Dialog.Get<QComboBox>("MIDIDeviceCB").currentIndex();
            return Dialog.PressOk();
        });
        QCOMPARE(Title, "Midi Device Select");
        QCOMPARE(asIn, (QStringList{"In A", "In B", "In C"}));
        QCOMPARE(asOut, (QStringList{"Out A", "Out B"}));
        QCOMPARE(iInSelected, 2);
        QCOMPARE(iOutSelected, -1);
        QCOMPARE(Rig.Settings(), Saved(2, -1, "In C", ""));
    }

    void the_dialog_s_ending_sets_the_choice_the_labels_and_the_file_data() {
        QTest::addColumn<QString>("Before");  // the settings file at start; empty: none
        QTest::addColumn<int>("PickIn");      // -1: no pick
        QTest::addColumn<int>("PickOut");
        QTest::addColumn<bool>("bOk");  // or the close box
        QTest::addColumn<int>("In");
        QTest::addColumn<int>("Out");
        QTest::addColumn<QString>("InLabel");
        QTest::addColumn<QString>("OutLabel");
        QTest::newRow("picks and OK set the choice") << "" << 1 << 0 << true << 1 << 0 << "In B"
                                                     << "Out A";
        QTest::newRow("closing keeps the old choice yet rewrites the file")
            << "MIDIINPORT=0\r\nMIDIOUTPORT=1\r\nleft over\r\n"
            << 1 << 0 << false << 0 << 1 << "In A"
            << "Out B";
        QTest::newRow("OK without a pick keeps no device and records minus one")
            << "" << -1 << 0 << true << -1 << 0 << "Invalid Device"
            << "Out A";
    }
    void the_dialog_s_ending_sets_the_choice_the_labels_and_the_file() {
        QFETCH(QString, Before);
        QFETCH(int, PickIn);
        QFETCH(int, PickOut);
        QFETCH(bool, bOk);
        QFETCH(int, In);
        QFETCH(int, Out);
        QFETCH(QString, InLabel);
        QFETCH(QString, OutLabel);
        cDeviceRig Rig({"Out A", "Out B"}, {"In A", "In B"});
        if (!Before.isEmpty()) {
            Rig.WriteSettings(Before.toStdString());
        }
        const MainWindowDriver Window(Rig.Open());
        if (Before.isEmpty()) {
            QVERIFY(!std::filesystem::exists(Rig.Folder / "SongLoader.ini"));
            QCOMPARE(Window.OutDevice(), "Invalid Device");
        }
        Rig.ChooseDevices([&](const DeviceSelectDriver& Dialog) {
            if (PickIn >= 0) {
                Dialog.Pick("MIDIInCB", PickIn);
            }
            Dialog.Pick("MIDIDeviceCB", PickOut);
            if (bOk) {
                return Dialog.PressOk();
            }
            Dialog.Select.close();
            return Dialog.Select.result();
        });
        QCOMPARE(Window.Form.TransferSettings().iSelectedInPort, In);
        QCOMPARE(Window.Form.TransferSettings().iSelectedOutPort, Out);
        QCOMPARE(Window.InDevice(), InLabel);
        QCOMPARE(Window.OutDevice(), OutLabel);
        // No device is saved with an empty name.
        const QByteArray InName = In < 0 ? QByteArray() : InLabel.toUtf8();
        QCOMPARE(Rig.Settings(), Saved(In, Out, InName.constData(), OutLabel.toUtf8().constData()));
    }

    void a_software_synthesizer_can_be_chosen_but_the_next_start_drops_it() {
        cDeviceRig Rig({"Out A", "Microsoft GS Wavetable SW Synth"}, {"In A", "In B"});
        const MainWindowDriver Window(Rig.Open());
        Rig.ChooseDevices([](const DeviceSelectDriver& Dialog) {
            Dialog.Pick("MIDIInCB", 1);
            Dialog.Pick("MIDIDeviceCB", 1);
            return Dialog.PressOk();
        });
        QCOMPARE(Window.Form.TransferSettings().iSelectedOutPort, 1);
        QCOMPARE(Window.OutDevice(), "Microsoft GS Wavetable SW Synth");
        QCOMPARE(Rig.Settings(), Saved(1, 1, "In B", "Microsoft GS Wavetable SW Synth"));

        const MainWindowDriver Restarted(Rig.Open());
        QCOMPARE(Restarted.Form.TransferSettings().iSelectedOutPort, -1);
        QCOMPARE(Restarted.Form.TransferSettings().iSelectedInPort, -1);
        QCOMPARE(Restarted.OutDevice(), "Invalid Device");
        QCOMPARE(Restarted.InDevice(), "Invalid Device");
    }

    void the_choice_outlives_the_program_and_is_checked_at_the_next_start_data() {
        QTest::addColumn<QString>("Saved");
        QTest::addColumn<QString>("InLabel");
        QTest::addColumn<QString>("OutLabel");
        QTest::newRow("both valid") << "MIDIINPORT=1\r\nMIDIOUTPORT=1\r\n"
                                    << "In B"
                                    << "Out B";
        QTest::newRow("output out of range") << "MIDIINPORT=1\r\nMIDIOUTPORT=2\r\n"
                                             << "In B"
                                             << "Invalid Device";
        QTest::newRow("keys swapped") << "MIDIOUTPORT=0\r\nMIDIINPORT=1\r\n"
                                      << "In A"
                                      << "Out B";
        QTest::newRow("a saved name finds its device at another index")
            << "MIDIINPORT=0\r\nMIDIOUTPORT=0\r\nMIDIINNAME=In B\r\nMIDIOUTNAME=Gone\r\n"
            << "In B"
            << "Invalid Device";
        QTest::newRow("garbage") << "\x01\x02\r\n==\r\n"
                                 << "Invalid Device"
                                 << "Invalid Device";
    }
    void the_choice_outlives_the_program_and_is_checked_at_the_next_start() {
        QFETCH(QString, Saved);
        QFETCH(QString, InLabel);
        QFETCH(QString, OutLabel);
        cDeviceRig Rig({"Out A", "Out B"}, {"In A", "In B"});
        Rig.WriteSettings(Saved.toStdString());
        const MainWindowDriver Window(Rig.Open());
        QCOMPARE(Window.InDevice(), InLabel);
        QCOMPARE(Window.OutDevice(), OutLabel);
        QVERIFY(Rig.Dialogs.Shown.empty());
        QCOMPARE(Rig.Settings(), Saved);  // reading never writes
    }

    void the_dialog_lists_the_devices_present_now_and_a_missing_device_keeps_its_name_data() {
        QTest::addColumn<bool>("bSavedTav");  // the file names the TAV ports 1 and 1
        QTest::addColumn<bool>("bPlugIn");    // the TAV is plugged in after start-up
        QTest::addColumn<int>("Pick");        // picked in both lists, then OK; -1: closed
        QTest::addColumn<QString>("Listed");  // the dialog's output list
        QTest::addColumn<QString>("OutLabel");
        QTest::addColumn<QString>("File");
        const QString TavChosen = Saved(1, 1, "TAV In", "TAV Out");
        QTest::newRow("plugged in after start-up, then chosen")
            << false << true << 1 << "Out A,TAV Out"
            << "TAV Out" << TavChosen;
        QTest::newRow("missing at start, the dialog closed: the names stay")
            << true << false << -1 << "Out A"
            << "Invalid Device" << Saved(-1, -1, "TAV In", "TAV Out");
        QTest::newRow("missing at start, back when the dialog opens: chosen again by name")
            << true << true << -1 << "Out A,TAV Out"
            << "TAV Out" << TavChosen;
    }
    void the_dialog_lists_the_devices_present_now_and_a_missing_device_keeps_its_name() {
        QFETCH(bool, bSavedTav);
        QFETCH(bool, bPlugIn);
        QFETCH(int, Pick);
        QFETCH(QString, Listed);
        QFETCH(QString, OutLabel);
        QFETCH(QString, File);
        cDeviceRig Rig({"Out A"}, {"In A"});
        if (bSavedTav) {
            Rig.WriteSettings(Saved(1, 1, "TAV In", "TAV Out").toStdString());
        }
        const MainWindowDriver Window(Rig.Open());
        if (bPlugIn) {
            Rig.PlugIn({"TAV Out"}, {"TAV In"});
        }
        QStringList Shown;
        Rig.ChooseDevices([&](const DeviceSelectDriver& Dialog) {
            Shown = Dialog.Entries("MIDIDeviceCB");
            if (Pick < 0) {
                Dialog.Select.close();
                return Dialog.Select.result();
            }
            Dialog.Pick("MIDIInCB", Pick);
            Dialog.Pick("MIDIDeviceCB", Pick);
            return Dialog.PressOk();
        });
        QCOMPARE(Shown.join(','), Listed);
        QCOMPARE(Window.OutDevice(), OutLabel);
        QCOMPARE(Rig.Settings(), File);
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
