#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "RecordingUserDialogs.h"
#include "TempDir.h"
#include "UiTestRegistry.h"
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

QStringList Entries(const QComboBox* pList) {
    QStringList Names;
    for (int i = 0; i < pList->count(); ++i) {
        Names << pList->itemText(i);
    }
    return Names;
}

// Picks an entry as the user does: with the keyboard on the closed list.
void PickWithKeys(QComboBox* pList, int iIndex) {
    pList->setFocus();
    while (pList->currentIndex() < iIndex && iIndex < pList->count()) {
        QTest::keyClick(pList, Qt::Key_Down);
    }
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
        Form1 Window(Dialogs, Transfer);
        Window.SetSettingsDirectory(QString::fromStdString(Folder.path().string()));
        Window.show();
        if (bPlugIn) {
            Backend.AddOutDevice("TAV Out");
            Backend.AddInDevice("TAV In");
        }
        QStringList Shown;
        Dialogs.OnModal = [&](QDialog& Dialog) {
            Dialog.show();
            auto* pOut = Dialog.findChild<QComboBox*>("MIDIDeviceCB");
            Shown = Entries(pOut);
            if (Pick < 0) {
                Dialog.close();
                return Dialog.result();
            }
            PickWithKeys(Dialog.findChild<QComboBox*>("MIDIInCB"), Pick);
            PickWithKeys(pOut, Pick);
            QTest::mouseClick(Dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
            return Dialog.result();
        };
        Window.findChild<QAction*>("midiDevicesToolStripMenuItem")->trigger();
        QCOMPARE(Shown.join(','), Listed);
        QCOMPARE(Window.findChild<QLabel*>("SelectedOutDeviceLabel")->text(), OutLabel);
        QCOMPARE(QString::fromStdString(ReadText(SettingsPath)), File);
    }
};

SONGLOADER_UI_TEST(DeviceChoiceTest);

#include "DeviceChoiceTest.moc"
