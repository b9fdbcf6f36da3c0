#include <QTest>

#include "RecordingUserDialogs.h"
#include "TempDir.h"
#include "UiTestRegistry.h"
#include "WindowDrivers.h"
#include "app/SettingsFile.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"
#include "transfer/X10FileTransfer.h"
#include "ui/Form1.h"

namespace {

// The settings file for a choice, in the application layer's format.
std::string Saved(int32_t iIn, int32_t iOut, const char* szIn, const char* szOut) {
    return SettingsFile::Format({iIn, iOut, szIn, szOut, false});
}

}  // namespace

// The device choice across devices that come after start-up or are missing.
class DeviceChoiceTest : public QObject {
    Q_OBJECT

  private slots:
    void the_dialog_lists_the_devices_present_now_and_a_missing_device_keeps_its_name_data() {
        QTest::addColumn<bool>("bSavedTav");  // the file names the TAV ports 1 and 1
        QTest::addColumn<bool>("bPlugIn");    // the TAV is plugged in after start-up
        QTest::addColumn<int>("Pick");        // picked in both lists, then OK; -1: closed
        QTest::addColumn<QString>("Listed");  // the dialog's output list
        QTest::addColumn<QString>("OutLabel");
        QTest::addColumn<QString>("File");
        const std::string TavChosen = Saved(1, 1, "TAV In", "TAV Out");
        QTest::newRow("plugged in after start-up, then chosen")
            << false << true << 1 << "Out A,TAV Out"
            << "TAV Out" << QString::fromStdString(TavChosen);
        QTest::newRow("missing at start, the dialog closed: the names stay")
            << true << false << -1 << "Out A"
            << "Invalid Device" << QString::fromStdString(Saved(-1, -1, "TAV In", "TAV Out"));
        QTest::newRow("missing at start, back when the dialog opens: chosen again by name")
            << true << true << -1 << "Out A,TAV Out"
            << "TAV Out" << QString::fromStdString(TavChosen);
    }
    void the_dialog_lists_the_devices_present_now_and_a_missing_device_keeps_its_name() {
        QFETCH(bool, bSavedTav);
        QFETCH(bool, bPlugIn);
        QFETCH(int, Pick);
        QFETCH(QString, Listed);
        QFETCH(QString, OutLabel);
        QFETCH(QString, File);
        TempDir Folder;
        const std::filesystem::path SettingsPath = Folder / SettingsFile::kFileName;
        if (bSavedTav) {
            const std::string Text = Saved(1, 1, "TAV In", "TAV Out");
            WriteAll(SettingsPath, {Text.begin(), Text.end()});
        }
        cVirtualMidiBackend Backend;
        cScopedMidiBackend Use(Backend);
        Backend.AddOutDevice("Out A");
        Backend.AddInDevice("In A");
        cRecordingUserDialogs Dialogs;
        X10FileTransfer Transfer;
        Form1 Form(Dialogs, Transfer);
        Form.SetSettingsDirectory(QString::fromStdString(Folder.path().string()));
        Form.show();
        const MainWindowDriver Window(Form);
        if (bPlugIn) {
            Backend.AddOutDevice("TAV Out");
            Backend.AddInDevice("TAV In");
        }
        QStringList Shown;
        Dialogs.OnModal = [&](QDialog& Dialog) {
            const DeviceSelectDriver Select(Dialog);
            Dialog.show();
            Shown = Select.Entries("MIDIDeviceCB");
            if (Pick < 0) {
                Dialog.close();
                return Dialog.result();
            }
            Select.Pick("MIDIInCB", Pick);
            Select.Pick("MIDIDeviceCB", Pick);
            return Select.PressOk();
        };
        Window.Choose("midiDevicesToolStripMenuItem");
        QCOMPARE(Shown.join(','), Listed);
        QCOMPARE(Window.OutDevice(), OutLabel);
        QCOMPARE(QString::fromStdString(ReadText(SettingsPath)), File);
    }
};

SONGLOADER_UI_TEST(DeviceChoiceTest);

#include "DeviceChoiceTest.moc"
