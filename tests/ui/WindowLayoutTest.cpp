#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "RecordingUserDialogs.h"
#include "UiTestRegistry.h"
#include "WindowDrivers.h"
#include "WindowRig.h"
#include "ui/AboutBox.h"
#include "ui/DebugWindow.h"
#include "ui/LoadFileDialog.h"
#include "ui/MidiDeviceSelect.h"
#include "ui/MidiInPortView.h"
#include "ui/SongListWidget.h"

namespace {

// One control of a window: its object name, its text, and the point size of its font (0: any).
struct tControl {
    const char* szName;
    QString Text;
    int iPointSize = 0;
};

void CheckControls(const QWidget& Window, std::initializer_list<tControl> Controls) {
    for (const tControl& Control : Controls) {
        const QWidget* pWidget = Window.findChild<QWidget*>(Control.szName);
        QVERIFY2(pWidget != nullptr, Control.szName);
        const QString Text = pWidget->property("text").toString();
        QCOMPARE(qobject_cast<const QAbstractButton*>(pWidget) ? WithoutMnemonic(Text) : Text,
                 Control.Text);
        if (Control.iPointSize != 0) {
            QCOMPARE(pWidget->font().pointSize(), Control.iPointSize);
        }
    }
}

// The controls lie in this order, each below (or, with bAcross, right of) the one before.
void CheckOrder(const QWidget& Window, std::initializer_list<const char*> Names, bool bAcross) {
    int iPrevious = -1;
    for (const char* szName : Names) {
        const QWidget* pWidget = Window.findChild<QWidget*>(szName);
        QVERIFY2(pWidget != nullptr, szName);
        const int iAt =
            bAcross ? pWidget->mapTo(&Window, QPoint()).x() : pWidget->mapTo(&Window, QPoint()).y();
        QVERIFY2(iAt > iPrevious, szName);
        iPrevious = iAt;
    }
}

}  // namespace

// Every window's controls as the user sees them: names, texts, fonts, order and what is hidden.
class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void the_main_window() {
        cWindowRig Rig;
        Form1& Window = Rig.Open(false);
        QCOMPARE(Window.windowTitle(), QString::fromUtf8("Orvik®30 / Melko™30 Song Loader"));
        CheckControls(Window, {{"LOAD_MORE_SONGS", "Load Songs"},
                               {"SELECT_NONE_BUTTON", "Select None"},
                               {"SELECT_ALL_BUTTON", "Select All"},
                               {"REMOVE_SELECTED", "Remove Selected"},
                               {"LOAD_SONGS_TO_TAV",
                                QString::fromUtf8("Transfer Checked To Orvik®30 / Melko™30")},
                               {"MidiInDevice", "MIDI In Device:"},
                               {"LabelMIDIOutDevice", "MIDI Out Device: "},
                               {"SelectedInDeviceLabel", "Invalid Device"},
                               {"SelectedOutDeviceLabel", "Invalid Device"}});
        CheckOrder(Window,
                   {"LOAD_MORE_SONGS", "SELECT_NONE_BUTTON", "SELECT_ALL_BUTTON", "REMOVE_SELECTED",
                    "LOAD_SONGS_TO_TAV"},
                   true);
        CheckOrder(Window, {"TAV_PIC", "pictureBox1", "MidiInDevice", "LabelMIDIOutDevice"}, false);
        for (const char* szLabel : {"MidiInDevice", "LabelMIDIOutDevice"}) {
            QVERIFY(Control<QLabel>(Window, szLabel).font().underline());
        }
        for (const char* szPicture : {"TAV_PIC", "pictureBox1"}) {
            QVERIFY(!Control<QLabel>(Window, szPicture).pixmap().isNull());
        }
        const SongListWidget& SongList = Control<SongListWidget>(Window, "MIDI_SONG_LIST");
        QCOMPARE(SongList.font().family(), "Times New Roman");
        QVERIFY(!Window.windowIcon().isNull());

        const QAction& Merge = Control<QAction>(Window, "mergeTracksToolStripMenuItem");
        QVERIFY(Merge.isCheckable());
        QVERIFY(!Merge.isChecked());
        // Each menu as "name: text", then each of its items as "- name: text".
        QStringList asMenus;
        for (const QAction* pMenu : Control<QMenuBar>(Window, "TAV_MENU").actions()) {
            asMenus << pMenu->menu()->objectName() + ": " + pMenu->text();
            for (const QAction* pItem : pMenu->menu()->actions()) {
                asMenus << "- " + pItem->objectName() + ": " + pItem->text();
            }
        }
        QCOMPARE(
            asMenus,
            (QStringList{"optionsToolStripMenuItem: &File", "- aboutToolStripMenuItem: About ...",
                         "- loadSongsToolStripMenuItem: Load Songs...",
                         "- exitToolStripMenuItem: E&xit", "optionsToolStripMenuItem1: &Options",
                         "- midiDevicesToolStripMenuItem: Midi &Devices",
                         "- advancedOptionsToolStripMenuItem: Advanced Options",
                         "- mergeTracksToolStripMenuItem: Merge Multi-Track Songs"}));
    }

    void the_progress_dialog() {
        cRecordingUserDialogs Dialogs;
        X10FileTransfer Transfer;
        cTransferRun Run(Transfer, tTransferPlan{});
        LoadFileDialog Dialog(Dialogs, Run);
        QCOMPARE(Dialog.windowTitle(), "Loading Files ...");
        CheckControls(Dialog, {{"FILE_PROGRESS", "File Progress:", 10},
                               {"OVERALL_PROGRESS", "Overall Progress", 10},
                               {"CurrentFileLabel", "Current File"},
                               {"LFDDebugText", "Debug Text"},
                               {"HandShakeDebug", "handshake debug"},
                               {"LFD_OK", "OK"},
                               {"LFD_Abort", "Abort"}});
        Dialog.show();
        CheckOrder(Dialog,
                   {"FILE_PROGRESS", "FileProgressBar", "OVERALL_PROGRESS", "OverallProgressBar",
                    "LFD_OK"},
                   false);
        CheckOrder(Dialog, {"LFD_OK", "LFD_Abort"}, true);
    }

    void the_advanced_options_dialog() {
        cRecordingUserDialogs Dialogs;
        DebugWindow Dialog(Dialogs);
        QCOMPARE(Dialog.windowTitle(), "Advanced Options");
        CheckControls(Dialog, {{"TimeBetweenSongs", "100"},
                               {"TimeBetweenPackets", "50"},
                               {"TimeOut", "300"},
                               {"label1", "ms Between Song Sends"},
                               {"label2", "ms Between Packets"},
                               {"Lable3", "Packet Time Out"},
                               {"NumberOfBuffers", "Number of MIDI In Buffers"},
                               {"SizeOfMidiInBuffer", "Size Of MIDI In Buffer"},
                               {"NumberOfMIDIInBuffersTextBox", "32"},
                               {"SizeOfMIDIInBufferTextBox", "32"},
                               {"EnableBlindTransfer", "Enable Blind Transfer"},
                               {"EnableDebugText", "Enable Debug Information"},
                               {"EnableMIDIInWindow", "Enable MIDI In Monitor"},
                               {"Unlock_Button", "Unlock Default Songs"},
                               {"LockDefaults", "Lock Default Songs"},
                               {"DWOK", "OK"}});
        QVERIFY(!Control<QCheckBox>(Dialog, "EnableBlindTransfer").isChecked());
        QVERIFY(!(Dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
        Dialog.show();
        const QWidget& Unlock = Control<QWidget>(Dialog, "Unlock_Button");
        QVERIFY(Unlock.isVisible() && Unlock.isEnabled());
        for (const char* szHidden : {"EnableDebugText", "EnableMIDIInWindow", "LockDefaults"}) {
            QVERIFY(!Control<QWidget>(Dialog, szHidden).isVisible());
            QVERIFY(!Control<QWidget>(Dialog, szHidden).isEnabled());
        }
    }

    void the_device_dialog() {
        MidiDeviceSelect Dialog;
        QCOMPARE(Dialog.windowTitle(), "Midi Device Select");
        CheckControls(Dialog, {{"MIDI_INPUT_DEVICE", "MIDI Input Device"},
                               {"label1", "MIDI Output Device"},
                               {"OKButton", "OK"}});
        Dialog.show();
        CheckOrder(Dialog, {"MIDI_INPUT_DEVICE", "MIDIInCB", "label1", "MIDIDeviceCB", "OKButton"},
                   false);
    }

    void the_about_box() {
        AboutBox Box;
        QCOMPARE(Box.windowTitle(), "About  Songloader");
        CheckControls(Box, {{"label1", QString::fromUtf8("Orvik®30 / Melko™30 Song Loader"), 12},
                            {"label2", "Version 1.04", 12},
                            {"label3", "Made by the SongLoader developers", 8},
                            {"AboutOK", "OK"}});
        QVERIFY(!Box.windowIcon().isNull());
        Box.show();
        CheckOrder(Box, {"label1", "label2", "label3", "AboutOK"}, false);
        QCOMPARE(Box.minimumSize(), Box.maximumSize());  // a fixed border
    }

    void the_monitor() {
        MidiInPortView Monitor;
        QCOMPARE(Monitor.windowTitle(), "MidiInPortView");
        const QPlainTextEdit& Text = Control<QPlainTextEdit>(Monitor, "MidiInText");
        QCOMPARE(Text.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(Monitor.isWindow());
        QVERIFY(Monitor.minimumSize() != Monitor.maximumSize());
        Monitor.show();
        QVERIFY(Text.width() > Monitor.width() * 9 / 10);
    }
};

SONGLOADER_UI_TEST(WindowLayoutTest);

#include "WindowLayoutTest.moc"
