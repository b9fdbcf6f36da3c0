#include "ui/Form1.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>
#include <system_error>

#include "conversion/SongConversion.h"
#include "conversion/SongMessages.h"
#include "ui/AboutBox.h"
#include "ui/AppIcon.h"
#include "ui/DebugWindow.h"
#include "ui/DialogResult.h"
#include "ui/LoadFileDialog.h"
#include "ui/MidiDeviceList.h"
#include "ui/MidiDeviceSelect.h"
#include "ui/MidiInPortView.h"
#include "ui/PathText.h"
#include "ui/SettingsFile.h"
#include "ui/SongListWidget.h"
#include "ui/UserDialogs.h"

namespace {

constexpr qint64 kLargeSongBytes = 100000;
const char* const kInvalidDevice = "Invalid Device";
const char* const kTransferButtonText = "Transfer Checked To TAV 30";

QPushButton* MakeButton(QWidget* pParent, const char* szName, const QString& Text) {
    QPushButton* pButton = new QPushButton(Text, pParent);
    pButton->setObjectName(szName);
    return pButton;
}

QLabel* MakeLabel(QWidget* pParent, const char* szName, const char* szText) {
    QLabel* pLabel = new QLabel(szText, pParent);
    pLabel->setObjectName(szName);
    return pLabel;
}

QLabel* MakeBadge(QWidget* pParent, const char* szName, const QPixmap& Image) {
    QLabel* pPicture = new QLabel(pParent);
    pPicture->setObjectName(szName);
    pPicture->setPixmap(Image);
    pPicture->setScaledContents(true);  // stretched to fit its box
    pPicture->setFixedSize(200, 100);
    return pPicture;
}

void Underline(QLabel* pLabel) {
    QFont Font = pLabel->font();
    Font.setUnderline(true);
    pLabel->setFont(Font);
}

QAction* AddMenuAction(QMenu* pMenu, const char* szName, const QString& Text) {
    QAction* pAction = pMenu->addAction(Text);
    pAction->setObjectName(szName);
    return pAction;
}

std::vector<std::string> ToStdList(const QStringList& asTexts) {
    std::vector<std::string> Result;
    for (const QString& Text : asTexts) {
        Result.push_back(Text.toStdString());
    }
    return Result;
}

QStringList DroppedFiles(const QMimeData* pData) {
    QStringList asPaths;
    for (const QUrl& Url : pData->urls()) {
        if (Url.isLocalFile()) {
            asPaths << QDir::toNativeSeparators(Url.toLocalFile());
        }
    }
    return asPaths;
}

}  // namespace

Form1::Form1(iUserDialogs& Dialogs, X10FileTransfer& Transfer, QWidget* pParent)
    : QMainWindow(pParent), Dialogs(Dialogs), Transfer(Transfer) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8("Orvik®30 / Melko™30 Song Loader"));
    setWindowIcon(AppIcon());
    BuildControls();
    BuildMenu();
    BuildLayout();
}

void Form1::BuildControls() {
    LOAD_MORE_SONGS = MakeButton(this, "LOAD_MORE_SONGS", "Load Songs");
    SELECT_NONE_BUTTON = MakeButton(this, "SELECT_NONE_BUTTON", "Select None");
    SELECT_ALL_BUTTON = MakeButton(this, "SELECT_ALL_BUTTON", "Select All");
    REMOVE_SELECTED = MakeButton(this, "REMOVE_SELECTED", "Remove Selected");
    LOAD_SONGS_TO_TAV = MakeButton(this, "LOAD_SONGS_TO_TAV",
                                   QString::fromUtf8("Transfer Checked To Orvik®30 / Melko™30"));

    MIDI_SONG_LIST = new SongListWidget(this);
    MIDI_SONG_LIST->setObjectName("MIDI_SONG_LIST");
    MIDI_SONG_LIST->setFont(QFont("Times New Roman", 10));
    MIDI_SONG_LIST->setFocusPolicy(Qt::ClickFocus);  // not a tab stop

    MidiInDevice = MakeLabel(this, "MidiInDevice", "MIDI In Device:");
    Underline(MidiInDevice);
    SelectedInDeviceLabel = MakeLabel(this, "SelectedInDeviceLabel", kInvalidDevice);
    LabelMIDIOutDevice = MakeLabel(this, "LabelMIDIOutDevice", "MIDI Out Device: ");
    Underline(LabelMIDIOutDevice);
    SelectedOutDeviceLabel = MakeLabel(this, "SelectedOutDeviceLabel", kInvalidDevice);
    TAV_PIC = MakeBadge(this, "TAV_PIC", OrvikBadge());
    pictureBox1 = MakeBadge(this, "pictureBox1", MelkoBadge());

    openMIDIFileDialog = new QFileDialog(this, "Select MIDI Files To Load");
    openMIDIFileDialog->setObjectName("openMIDIFileDialog");
    openMIDIFileDialog->setNameFilter("MIDI files (*.mid)");
    openMIDIFileDialog->setFileMode(QFileDialog::ExistingFiles);
    openMIDIFileDialog->setAcceptMode(QFileDialog::AcceptOpen);

    connect(LOAD_MORE_SONGS, &QPushButton::clicked, this, &Form1::LOAD_MORE_SONGS_Click);
    connect(SELECT_NONE_BUTTON, &QPushButton::clicked, this, &Form1::SELECT_NONE_BUTTON_Click);
    connect(SELECT_ALL_BUTTON, &QPushButton::clicked, this, &Form1::SELECT_ALL_BUTTON_Click);
    connect(REMOVE_SELECTED, &QPushButton::clicked, this, &Form1::REMOVE_SELECTED_Click);
    connect(LOAD_SONGS_TO_TAV, &QPushButton::clicked, this, &Form1::LOAD_SONGS_TO_TAV_Click);
    connect(MIDI_SONG_LIST, &SongListWidget::DragEntered, this, &Form1::MIDI_SONG_LIST_DragEnter);
    connect(MIDI_SONG_LIST, &SongListWidget::Dropped, this, &Form1::MIDI_SONG_LIST_DragDrop);
}

void Form1::BuildMenu() {
    TAV_MENU = new QMenuBar(this);
    TAV_MENU->setObjectName("TAV_MENU");
    setMenuBar(TAV_MENU);

    optionsToolStripMenuItem = TAV_MENU->addMenu("&File");
    optionsToolStripMenuItem->setObjectName("optionsToolStripMenuItem");
    aboutToolStripMenuItem =
        AddMenuAction(optionsToolStripMenuItem, "aboutToolStripMenuItem", "About ...");
    loadSongsToolStripMenuItem =
        AddMenuAction(optionsToolStripMenuItem, "loadSongsToolStripMenuItem", "Load Songs...");
    exitToolStripMenuItem =
        AddMenuAction(optionsToolStripMenuItem, "exitToolStripMenuItem", "E&xit");

    optionsToolStripMenuItem1 = TAV_MENU->addMenu("&Options");
    optionsToolStripMenuItem1->setObjectName("optionsToolStripMenuItem1");
    midiDevicesToolStripMenuItem =
        AddMenuAction(optionsToolStripMenuItem1, "midiDevicesToolStripMenuItem", "Midi &Devices");
    advancedOptionsToolStripMenuItem = AddMenuAction(
        optionsToolStripMenuItem1, "advancedOptionsToolStripMenuItem", "Advanced Options");

    connect(aboutToolStripMenuItem, &QAction::triggered, this,
            &Form1::aboutToolStripMenuItem_Click);
    connect(loadSongsToolStripMenuItem, &QAction::triggered, this,
            &Form1::loadSongsToolStripMenuItem_Click);
    connect(exitToolStripMenuItem, &QAction::triggered, this, &Form1::exitToolStripMenuItem_Click);
    connect(midiDevicesToolStripMenuItem, &QAction::triggered, this,
            &Form1::midiDevicesToolStripMenuItem_Click);
    connect(advancedOptionsToolStripMenuItem, &QAction::triggered, this,
            &Form1::advancedOptionsToolStripMenuItem_Click);
}

void Form1::BuildLayout() {
    QWidget* pCentral = new QWidget(this);
    setCentralWidget(pCentral);

    QVBoxLayout* pRight = new QVBoxLayout;
    pRight->addWidget(TAV_PIC);
    pRight->addWidget(pictureBox1);
    pRight->addSpacing(8);
    pRight->addWidget(MidiInDevice);
    pRight->addWidget(SelectedInDeviceLabel);
    pRight->addSpacing(4);
    pRight->addWidget(LabelMIDIOutDevice);
    pRight->addWidget(SelectedOutDeviceLabel);
    pRight->addStretch(1);

    QHBoxLayout* pTop = new QHBoxLayout;
    pTop->addWidget(MIDI_SONG_LIST, 1);
    pTop->addLayout(pRight);

    QHBoxLayout* pButtons = new QHBoxLayout;
    for (QPushButton* pButton : {LOAD_MORE_SONGS, SELECT_NONE_BUTTON, SELECT_ALL_BUTTON,
                                 REMOVE_SELECTED, LOAD_SONGS_TO_TAV}) {
        pButtons->addWidget(pButton);
    }

    QVBoxLayout* pLayout = new QVBoxLayout(pCentral);
    pLayout->addLayout(pTop, 1);
    pLayout->addLayout(pButtons);
    setFixedSize(680, 440);  // not resizable
}

void Form1::SetSettingsDirectory(const QString& Directory) {
    SettingsDirectory = Directory;
}

void Form1::showEvent(QShowEvent* pEvent) {
    QMainWindow::showEvent(pEvent);
    if (!bLoaded) {
        bLoaded = true;
        Form1_Load();
    }
}

void Form1::Form1_Load() {
    Settings = tTransferSettings{};

    const QString Directory =
        SettingsDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : SettingsDirectory;
    appPath = QDir(Directory).filePath(SettingsFile::kFileName);
    // Transfer steps run on this thread from a timer: keep them ahead of other work.
    QThread::currentThread()->setPriority(QThread::HighestPriority);

    ReadDevices();
    UpdateLabel();
}

void Form1::ReadDevices() {
    const tMidiDeviceNames Names = ListMidiDevices();
    asOutPortNames = Names.asOutPortNames;
    asInPortNames = Names.asInPortNames;
    uiNumOutPorts = static_cast<uint32_t>(asOutPortNames.size());
    uiNumInPorts = static_cast<uint32_t>(asInPortNames.size());
    if (uiNumOutPorts == 0) {
        Dialogs.ShowMessage(this,
                            "Note: You have no available Midi Out devices. This program is "
                            "useless without a Midi Out Device",
                            "Midi Device Error", MESSAGE_ICON_NONE);
    }
    if (uiNumInPorts == 0) {
        Dialogs.ShowMessage(this,
                            "You have no available Midi In devices. This program is useless "
                            "without a Midi In Device",
                            "Midi Device Error", MESSAGE_ICON_NONE);
    }
    if (uiNumOutPorts == 0 || uiNumInPorts == 0) {
        Settings.iSelectedOutPort = -1;
        Settings.iSelectedInPort = -1;
        return;
    }
    const tDeviceChoice Choice = SettingsFile::ReadDeviceChoice(
        ToPath(appPath), ToStdList(asInPortNames), ToStdList(asOutPortNames));
    Settings.iSelectedInPort = Choice.iSelectedInPort;
    Settings.iSelectedOutPort = Choice.iSelectedOutPort;
}

// The name of the chosen device, or "Invalid Device" for -1 (or an index naming no device).
static QString DeviceLabel(const QStringList& asNames, int32_t iSelected) {
    return iSelected >= 0 && iSelected < asNames.size() ? asNames.at(iSelected) : kInvalidDevice;
}

void Form1::UpdateLabel() {
    SelectedOutDeviceLabel->setText(DeviceLabel(asOutPortNames, Settings.iSelectedOutPort));
    SelectedInDeviceLabel->setText(DeviceLabel(asInPortNames, Settings.iSelectedInPort));
}

// ---- Adding songs

void Form1::LOAD_MORE_SONGS_Click() {
    const QStringList asChosen = Dialogs.ChooseFiles(*openMIDIFileDialog);
    if (!asChosen.isEmpty()) {
        openMIDIFileDialog_FileOk(asChosen);
    }
}

void Form1::loadSongsToolStripMenuItem_Click() {
    LOAD_MORE_SONGS_Click();
}

void Form1::openMIDIFileDialog_FileOk(const QStringList& asChosenFiles) {
    asMidiFileNames.clear();
    for (const QString& Path : asChosenFiles) {
        asMidiFileNames << QDir::toNativeSeparators(Path);
    }
    ValidateFileArray();
}

void Form1::MIDI_SONG_LIST_DragEnter(QDragEnterEvent* pEvent) {
    if (pEvent->mimeData()->hasUrls() && !DroppedFiles(pEvent->mimeData()).isEmpty()) {
        pEvent->setDropAction(Qt::CopyAction);
        pEvent->accept();
    } else {
        pEvent->ignore();
    }
}

void Form1::MIDI_SONG_LIST_DragDrop(QDropEvent* pEvent) {
    const QStringList asDropped = DroppedFiles(pEvent->mimeData());
    if (asDropped.isEmpty()) {
        pEvent->ignore();
        return;
    }
    pEvent->setDropAction(Qt::CopyAction);
    pEvent->accept();
    asMidiFileNames = asDropped;
    ValidateFileArray();
}

// The whole batch is added or none of it: checked from the last entry to the first, the first
// refusal ends the walk with its one message.
void Form1::ValidateFileArray() {
    for (qsizetype i = asMidiFileNames.size() - 1; i >= 0; --i) {
        if (!VetOneSong(asMidiFileNames.at(i))) {
            return;
        }
    }
    for (const QString& Path : asMidiFileNames) {
        MIDI_SONG_LIST->AddCheckedRow(QFileInfo(Path).fileName());
        asSongsInList << Path;
    }
}

bool Form1::VetOneSong(const QString& Path) {
    if (QFileInfo(Path).size() > kLargeSongBytes &&
        !Dialogs.AskYesNo(this,
                          Path + " Is larger than 100k, such a large file may have performance "
                                 "issues and it is not recommended you load it Do you wish to "
                                 "proceed? ",
                          "File Size Error", MESSAGE_ICON_NONE)) {
        return false;
    }
    switch (VetSong(ToPath(Path))) {
        case SONG_NOT_MIDI_FILE:
            Dialogs.ShowMessage(this, Path + SongMessages::kNotMidiFile,
                                SongMessages::kNotMidiFileCaption, MESSAGE_ICON_WARNING);
            return false;
        case SONG_NOT_FORMAT_0:
            Dialogs.ShowMessage(this, Path + SongMessages::kNotFormat0,
                                SongMessages::kNotFormat0Caption, MESSAGE_ICON_WARNING);
            return false;
        case SONG_FORMAT_0:
            break;
    }
    return true;
}

// ---- Selecting and removing

void Form1::SELECT_ALL_BUTTON_Click() {
    for (int iRow = 0; iRow < MIDI_SONG_LIST->count(); ++iRow) {
        MIDI_SONG_LIST->SetChecked(iRow, true);
    }
}

void Form1::SELECT_NONE_BUTTON_Click() {
    for (int iRow = 0; iRow < MIDI_SONG_LIST->count(); ++iRow) {
        MIDI_SONG_LIST->SetChecked(iRow, false);
    }
}

void Form1::REMOVE_SELECTED_Click() {
    asUnCheckedSongs.clear();
    for (int iRow = 0; iRow < MIDI_SONG_LIST->count(); ++iRow) {
        if (!MIDI_SONG_LIST->IsChecked(iRow)) {
            asUnCheckedSongs << asSongsInList.at(iRow);
        }
    }
    if (asUnCheckedSongs.size() == MIDI_SONG_LIST->count()) {
        return;  // nothing checked
    }
    for (int iRow = MIDI_SONG_LIST->count() - 1; iRow >= 0; --iRow) {
        if (MIDI_SONG_LIST->IsChecked(iRow)) {
            delete MIDI_SONG_LIST->takeItem(iRow);
        }
    }
    asSongsInList = asUnCheckedSongs;
}

// ---- Transfer

void Form1::LOAD_SONGS_TO_TAV_Click() {
    LOAD_SONGS_TO_TAV->setText("Converting Songs ...");
    LOAD_SONGS_TO_TAV->setEnabled(false);
    if (!RefuseTransfer()) {
        if (!ConvertCheckedSongs()) {
            EndApplication();
            return;
        }
        RunTransfer();
    }
    LOAD_SONGS_TO_TAV->setEnabled(true);
    LOAD_SONGS_TO_TAV->setText(kTransferButtonText);
}

bool Form1::RefuseTransfer() {
    bool bAnyChecked = false;
    for (int iRow = 0; iRow < MIDI_SONG_LIST->count(); ++iRow) {
        bAnyChecked = bAnyChecked || MIDI_SONG_LIST->IsChecked(iRow);
    }
    const char* szRefusal = nullptr;
    if (Settings.iSelectedOutPort == -1 && Settings.iSelectedInPort == -1) {
        szRefusal = "Invalid Midi Devices!";
    } else if (Settings.iSelectedOutPort == -1) {
        szRefusal = "Invalid Midi Out Device!";
    } else if (Settings.iSelectedInPort == -1) {
        szRefusal = "Invalid Midi In Device!";
    }
    if (szRefusal != nullptr) {
        Dialogs.ShowMessage(this, szRefusal, "MIDI Device Error", MESSAGE_ICON_NONE);
        return true;
    }
    if (!bAnyChecked) {
        Dialogs.ShowMessage(this, "No Files Loaded!", "File Load Error", MESSAGE_ICON_NONE);
        return true;
    }
    return false;
}

bool Form1::ConvertCheckedSongs() {
    asCheckedSongs.clear();
    for (int iRow = 0; iRow < MIDI_SONG_LIST->count(); ++iRow) {
        if (MIDI_SONG_LIST->IsChecked(iRow)) {
            asCheckedSongs << asSongsInList.at(iRow);
        }
    }
    asX10FileNames = QStringList(asCheckedSongs.size(), QString());
    for (qsizetype i = 0; i < asCheckedSongs.size(); ++i) {
        const QString& Song = asCheckedSongs.at(i);
        const tSongConversion Result = ConvertSong(ToPath(Song), Settings.bDebugEnabled);
        if (Result.bFileSystemFailure) {
            Dialogs.ShowMessage(this, SongMessages::kFileSystemError,
                                SongMessages::kFileSystemErrorCaption, MESSAGE_ICON_NONE);
            return false;
        }
        if (!Result.bConverted) {
            // A song that cannot be read or converted (gone or changed since it was added)
            // stays out of the transfer; its partial x10 file is already removed.
            Dialogs.ShowMessage(this, Song + SongMessages::kNotMidiFile,
                                SongMessages::kNotMidiFileCaption, MESSAGE_ICON_WARNING);
            continue;
        }
        asX10FileNames[i] = FromPath(Result.X10FilePath);
        if (Result.bEventsRemoved) {
            Dialogs.ShowMessage(this, Song + SongMessages::kEventsRemoved,
                                SongMessages::kEventsRemovedCaption, MESSAGE_ICON_NONE);
        }
    }
    return true;
}

void Form1::RunTransfer() {
    const bool bAnyConverted = std::any_of(asX10FileNames.cbegin(), asX10FileNames.cend(),
                                           [](const QString& Path) { return !Path.isEmpty(); });
    if (!bAnyConverted) {
        return;  // every checked song was refused above; there is nothing to send
    }
    tTransferPlan Plan;
    Plan.Settings = Settings;
    for (qsizetype i = 0; i < asCheckedSongs.size(); ++i) {
        Plan.SongPaths.push_back(ToPath(asCheckedSongs.at(i)));
        Plan.X10Paths.push_back(ToPath(asX10FileNames.at(i)));
    }
    LoadFileDialog Dialog(Dialogs, Transfer, std::move(Plan), this);
    if (Settings.bMidiInMonitor && mipv) {
        Dialog.PassMidiInPortHandle(mipv);
    }
    const int iResult = Dialogs.ShowModal(Dialog);
    if (iResult == DIALOG_OK) {
        DeleteConvertedFiles();
    } else if (iResult == DIALOG_ABORT) {
        Dialogs.ShowMessage(this,
                            "You have aborted the song load, for best results, restart this "
                            "program and your Orvik/Melko",
                            "TAV Aborted", MESSAGE_ICON_NONE);
        if (!Settings.bDebugEnabled) {
            DeleteConvertedFiles();
        }
        EndApplication();
    }
}

// Every converted file is tried: one that cannot be deleted does not keep the others.
void Form1::DeleteConvertedFiles() {
    for (const QString& Path : asX10FileNames) {
        if (!Path.isEmpty()) {
            std::error_code Error;
            std::filesystem::remove(ToPath(Path), Error);
        }
    }
}

void Form1::EndApplication() {
    emit ApplicationEnding();
    close();
}

// ---- Menu

void Form1::aboutToolStripMenuItem_Click() {
    AboutBox Box(this);
    connect(Box.AboutOK, &QPushButton::clicked, &Box, &QDialog::accept);
    Dialogs.ShowModal(Box);
}

void Form1::exitToolStripMenuItem_Click() {
    EndApplication();
}

void Form1::midiDevicesToolStripMenuItem_Click() {
    MidiDeviceSelect Dialog(this);
    for (const QString& Name : asOutPortNames) {
        Dialog.FillOutDeviceList(Name);
    }
    for (const QString& Name : asInPortNames) {
        Dialog.FillInDeviceList(Name);
    }
    Dialog.SetDevices(Settings.iSelectedInPort, Settings.iSelectedOutPort);
    connect(Dialog.OKButton, &QPushButton::clicked, &Dialog, &QDialog::accept);
    if (Dialogs.ShowModal(Dialog) == DIALOG_OK) {
        Settings.iSelectedOutPort = Dialog.OutDeviceChosen();
        Settings.iSelectedInPort = Dialog.InDeviceChosen();
    }
    UpdateLabel();
    SaveDeviceChoice();
}

void Form1::SaveDeviceChoice() {
    if (!SettingsFile::WriteDeviceChoice(ToPath(appPath),
                                         {Settings.iSelectedInPort, Settings.iSelectedOutPort})) {
        Dialogs.ShowMessage(this, appPath + " could not be written: the device choice is not saved",
                            "Settings File Error", MESSAGE_ICON_WARNING);
    }
}

void Form1::advancedOptionsToolStripMenuItem_Click() {
    DebugWindow Dialog(Dialogs, this);
    Dialog.SetVars(Settings.iTimeBetweenSongs, Settings.iTimeBetweenPackets, Settings.iTimeOut,
                   Settings.bBlindTransfer, Settings.iSelectedOutPort, Settings.iSelectedInPort);
    if (Dialogs.ShowModal(Dialog) != DIALOG_OK) {
        return;
    }
    Settings.iTimeBetweenSongs = Dialog.iTimeBetweenSongs;
    Settings.iTimeBetweenPackets = Dialog.iTimeBetweenPackets;
    Settings.iTimeOut = Dialog.iTimeOut;
    Settings.bDebugEnabled = Dialog.bDebugEnabled;
    Settings.bMidiInMonitor = Dialog.bMidiInWindow;
    Settings.bBlindTransfer = Dialog.bBlindTransfer;
    if (Settings.bMidiInMonitor) {
        mipv = new MidiInPortView(this);
        mipv->show();
        mipv->raise();
        mipv->activateWindow();
    }
}
