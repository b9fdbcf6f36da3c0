#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QList>
#include <QMetaObject>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

#include "app/TransferSettings.h"
#include "ui/DebugWindow.h"
#include "ui/Form1.h"
#include "ui/LoadFileDialog.h"
#include "ui/MidiDeviceSelect.h"
#include "ui/SongListWidget.h"

// The drivers through which tests press, read and tick the windows. Controls are found by their
// object names, the names of the members holding them; private slots are reached by name.

// A name that finds no control of that kind ends the run at once: the test is wrong, not the
// window.
template <class tControl>
tControl& Control(const QObject& Window, const char* szName) {
    tControl* pControl = Window.findChild<tControl*>(szName);
    if (pControl == nullptr) {
        qFatal("%s has no %s named %s", qPrintable(Window.objectName()),
               tControl::staticMetaObject.className(), szName);
    }
    return *pControl;
}

// The dialog a modal call was given, as the window it must be.
template <class tWindow>
tWindow& As(QDialog& Dialog) {
    tWindow* pWindow = qobject_cast<tWindow*>(&Dialog);
    if (pWindow == nullptr) {
        qFatal("%s is no %s", qPrintable(Dialog.objectName()),
               tWindow::staticMetaObject.className());
    }
    return *pWindow;
}

// Calls a private slot that no control reaches (a hidden button's, a chooser's callback).
inline void Invoke(QObject& Window, const char* szSlot,
                   QGenericArgument Argument = QGenericArgument()) {
    if (!QMetaObject::invokeMethod(&Window, szSlot, Qt::DirectConnection, Argument)) {
        qFatal("%s has no slot %s", qPrintable(Window.objectName()), szSlot);
    }
}

// A button's text as the user reads it: without the "&" that marks its Alt key ("&&" shows one).
inline QString WithoutMnemonic(QString Text) {
    static const QRegularExpression Marker("&(.)");
    return Text.replace(Marker, "\\1");
}

// Files or folders as a file manager drags them.
inline std::unique_ptr<QMimeData> FileDrag(const QStringList& asPaths) {
    auto Data = std::make_unique<QMimeData>();
    QList<QUrl> Urls;
    for (const QString& Path : asPaths) {
        Urls << QUrl::fromLocalFile(Path);
    }
    Data->setUrls(Urls);
    return Data;
}

// What every window's driver does.
class WindowDriver {
  public:
    explicit WindowDriver(QWidget& Window) : Window(Window) {}

    template <class tControl>
    tControl& Get(const char* szName) const {
        return Control<tControl>(Window, szName);
    }
    // A left click in the middle of the control, as the user does.
    void Click(const char* szName) const {
        QTest::mouseClick(&Get<QWidget>(szName), Qt::LeftButton);
    }
    // The text of a label, button, check box or text box.
    QString Text(const char* szName) const {
        return Get<QWidget>(szName).property("text").toString();
    }
    void Type(const char* szBox, const QString& Text) const {
        Get<QWidget>(szBox).setProperty("text", Text);
    }
    bool IsChecked(const char* szName) const {
        return Get<QWidget>(szName).property("checked").toBool();
    }
    // Clicks the button that ends a dialog; the dialog's result.
    int End(const char* szButton) const {
        Click(szButton);
        return static_cast<QDialog&>(Window).result();
    }

    QWidget& Window;
};

// The main window: songs handed over as the file dialog does, the song list's rows, the device
// labels and the menu items.
class MainWindowDriver : public WindowDriver {
  public:
    explicit MainWindowDriver(Form1& Window) : WindowDriver(Window), Form(Window) {}

    // The songs as the file dialog hands them over, vetted as one batch.
    void AddSongs(const QStringList& asPaths) const {
        Invoke(Form, "openMIDIFileDialog_FileOk", Q_ARG(QStringList, asPaths));
    }
    SongListWidget& SongList() const { return Get<SongListWidget>("MIDI_SONG_LIST"); }
    QStringList RowTexts() const {
        QStringList asRows;
        for (int i = 0; i < SongList().rowCount(); ++i) {
            asRows << SongList().item(i, 0)->text();
        }
        return asRows;
    }
    // Every column's text of one row.
    QStringList Cells(int iRow) const {
        QStringList asCells;
        for (int iColumn = 0; iColumn < SongList().columnCount(); ++iColumn) {
            asCells << SongList().item(iRow, iColumn)->text();
        }
        return asCells;
    }
    QList<bool> RowChecks() const {
        QList<bool> Checks;
        for (int i = 0; i < SongList().rowCount(); ++i) {
            Checks << SongList().IsChecked(i);
        }
        return Checks;
    }
    QPushButton& SendButton() const { return Get<QPushButton>("LOAD_SONGS_TO_TAV"); }
    void SendChecked() const { Click("LOAD_SONGS_TO_TAV"); }
    QString InDevice() const { return Text("SelectedInDeviceLabel"); }
    QString OutDevice() const { return Text("SelectedOutDeviceLabel"); }
    void Choose(const char* szMenuItem) const { Get<QAction>(szMenuItem).trigger(); }
    // One click on a row: in its middle, or on its check box at the left edge.
    void ClickRow(int iRow, bool bOnBox = false) const {
        const QRect Row = SongList().visualItemRect(SongList().item(iRow, 0));
        const QPoint At = bOnBox ? QPoint(Row.left() + 8, Row.center().y()) : Row.center();
        QTest::mouseClick(SongList().viewport(), Qt::LeftButton, Qt::NoModifier, At);
    }
    // Drags data over the middle of the song list: whether the list takes it, and as what.
    std::pair<bool, Qt::DropAction> Enter(const QMimeData& Data, Qt::DropActions eOffered) const {
        QDragEnterEvent Entered(Middle(), eOffered, &Data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(SongList().viewport(), &Entered);
        return {Entered.isAccepted(), Entered.dropAction()};
    }
    // Drags files or folders onto the middle of the song list and drops them there.
    void Drop(const QStringList& asPaths) const {
        const std::unique_ptr<QMimeData> Files = FileDrag(asPaths);
        Enter(*Files, Qt::CopyAction);
        QDropEvent Dropped(QPointF(Middle()), Qt::CopyAction, Files.get(), Qt::LeftButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(SongList().viewport(), &Dropped);
    }
    // The chosen devices as the window holds and shows them: "In B (1), Out A (0)".
    QString Choice() const {
        const tTransferSettings Settings = Form.TransferSettings();
        return QString("%1 (%2), %3 (%4)")
            .arg(InDevice())
            .arg(Settings.iSelectedInPort)
            .arg(OutDevice())
            .arg(Settings.iSelectedOutPort);
    }
    // The transfer button's text as the user reads it.
    QString SendText() const { return WithoutMnemonic(SendButton().text()); }

    Form1& Form;

  private:
    QPoint Middle() const { return SongList().viewport()->rect().center(); }
};

// The progress dialog: its bars, its labels and the timer that runs the transfer.
class ProgressDialogDriver : public WindowDriver {
  public:
    explicit ProgressDialogDriver(QDialog& Dialog)
        : WindowDriver(Dialog), Progress(As<LoadFileDialog>(Dialog)) {}

    // Whether a transfer step is due: the run has neither stopped nor been ended.
    bool Running() const { return Timer().isActive(); }
    QTimer& Timer() const { return Get<QTimer>("ProgressBarUpdater"); }
    QProgressBar& FileBar() const { return Get<QProgressBar>("FileProgressBar"); }
    QProgressBar& OverallBar() const { return Get<QProgressBar>("OverallProgressBar"); }
    QLabel& HandShake() const { return Get<QLabel>("HandShakeDebug"); }

    LoadFileDialog& Progress;
};

// The advanced options dialog; its choices are read as the main window reads them, after OK.
class AdvancedOptionsDriver : public WindowDriver {
  public:
    explicit AdvancedOptionsDriver(QDialog& Dialog)
        : WindowDriver(Dialog), Options(As<DebugWindow>(Dialog)) {}

    QCheckBox& Box(const char* szName) const { return Get<QCheckBox>(szName); }
    int PressOk() const { return End("DWOK"); }
    // The texts of the three time boxes: between songs, between packets, the time-out.
    QStringList Times() const {
        return {Text("TimeBetweenSongs"), Text("TimeBetweenPackets"), Text("TimeOut")};
    }
    tTransferSettings Choices() const {
        tTransferSettings Settings;
        Options.CopyChoicesTo(Settings);
        return Settings;
    }

    DebugWindow& Options;
};

// The device dialog: the input list (MIDIInCB), the output list (MIDIDeviceCB) and OK.
class DeviceSelectDriver : public WindowDriver {
  public:
    explicit DeviceSelectDriver(QDialog& Dialog)
        : WindowDriver(Dialog), Select(As<MidiDeviceSelect>(Dialog)) {}

    QStringList Entries(const char* szList) const {
        QStringList asEntries;
        for (int i = 0; i < Get<QComboBox>(szList).count(); ++i) {
            asEntries << Get<QComboBox>(szList).itemText(i);
        }
        return asEntries;
    }
    // Picks an entry as the user does: with the keyboard on the closed list.
    void Pick(const char* szList, int iIndex) const {
        QComboBox& List = Get<QComboBox>(szList);
        List.setFocus();
        for (int iSteps = List.count(); iSteps > 0 && List.currentIndex() != iIndex; --iSteps) {
            QTest::keyClick(&List, List.currentIndex() < iIndex ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    int PressOk() const { return End("OKButton"); }

    MidiDeviceSelect& Select;
};

// Shows a progress dialog, lets the transfer run until it stops and ends it with a button;
// the dialog's result, or -1 when the transfer never stopped.
inline int RunTransferAndPress(QDialog& Dialog, const char* szButton, int iTimeoutMs = 30000) {
    const ProgressDialogDriver Progress(Dialog);
    Dialog.show();
    if (!QTest::qWaitFor([&Progress] { return !Progress.Running(); }, iTimeoutMs)) {
        return -1;
    }
    return Progress.End(szButton);
}

// Ends a dialog with a button as soon as it is shown (a progress dialog before any step has
// run); the dialog's result.
inline int PressAtOnce(QDialog& Dialog, const char* szButton) {
    Dialog.show();
    return WindowDriver(Dialog).End(szButton);
}
