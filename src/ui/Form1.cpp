#include "ui/Form1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStatusBar>
#include <QThread>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/DeviceMatch.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"
#include "app/SongBatch.h"
#include "app/SongFiles.h"
#include "app/SongMessages.h"
#include "app/TransferPlan.h"
#include "midi/DeviceList.h"
#include "ui/AboutBox.h"
#include "ui/AppIcon.h"
#include "ui/DebugWindow.h"
#include "ui/DialogResult.h"
#include "ui/LoadFileDialog.h"
#include "ui/MidiDeviceSelect.h"
#include "ui/MidiInPortView.h"
#include "ui/PathText.h"
#include "ui/SongListWidget.h"
#include "ui/UserDialogs.h"
#include "ui/WidgetFactory.h"
#include "ui/WindowTexts.h"

namespace {

using namespace WindowTexts;

// The name of the chosen device, or "Invalid Device" for -1 (or an index naming no device).
QString DeviceLabel(const std::vector<std::string>& Names, int32_t i) {
    const std::string Name = DeviceNameAt(Names, i);
    return Name.empty() ? kInvalidDevice : QString::fromStdString(Name);
}

}  // namespace

Form1::Form1(iUserDialogs& Dialogs, X10FileTransfer& Transfer, QWidget* pParent)
    : tLoadsWhenFirstShown(pParent), Dialogs(Dialogs), Transfer(Transfer) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8("Orvik®30 / Melko™30 Song Loader"));
    setWindowIcon(AppIcon());
    BuildControls();
    BuildMenu();
    BuildLayout();
    UpdateStatus();
}

void Form1::BuildControls() {
    LOAD_MORE_SONGS = MakeButton(this, "LOAD_MORE_SONGS", kLoadSongsButton);
    SELECT_NONE_BUTTON = MakeButton(this, "SELECT_NONE_BUTTON", kSelectNoneButton);
    SELECT_ALL_BUTTON = MakeButton(this, "SELECT_ALL_BUTTON", kSelectAllButton);
    REMOVE_SELECTED = MakeButton(this, "REMOVE_SELECTED", kRemoveSelectedButton);
    LOAD_SONGS_TO_TAV = MakeButton(this, "LOAD_SONGS_TO_TAV", kTransferButtonAtStart);

    MIDI_SONG_LIST = new SongListWidget(this);

    MidiInDevice = MakeUnderlinedLabel(this, "MidiInDevice", "MIDI In Device:");
    SelectedInDeviceLabel = MakeLabel(this, "SelectedInDeviceLabel", kInvalidDevice);
    LabelMIDIOutDevice = MakeUnderlinedLabel(this, "LabelMIDIOutDevice", "MIDI Out Device: ");
    SelectedOutDeviceLabel = MakeLabel(this, "SelectedOutDeviceLabel", kInvalidDevice);
    TAV_PIC = MakePicture(this, "TAV_PIC", OrvikBadge(), 200, 100);
    pictureBox1 = MakePicture(this, "pictureBox1", MelkoBadge(), 200, 100);

    openMIDIFileDialog = new QFileDialog(this, "Select MIDI Files To Load");
    openMIDIFileDialog->setObjectName("openMIDIFileDialog");
    openMIDIFileDialog->setNameFilter(
        QString(kSongFilesFilter).arg(QString::fromStdString(SongFilePatterns())));
    openMIDIFileDialog->setFileMode(QFileDialog::ExistingFiles);
    openMIDIFileDialog->setAcceptMode(QFileDialog::AcceptOpen);

    connect(LOAD_MORE_SONGS, &QPushButton::clicked, this, &Form1::LOAD_MORE_SONGS_Click);
    connect(SELECT_NONE_BUTTON, &QPushButton::clicked, this,
            [this] { MIDI_SONG_LIST->SetAllChecked(false); });
    connect(SELECT_ALL_BUTTON, &QPushButton::clicked, this,
            [this] { MIDI_SONG_LIST->SetAllChecked(true); });
    connect(REMOVE_SELECTED, &QPushButton::clicked, this,
            [this] { MIDI_SONG_LIST->RemoveCheckedRows(); });
    connect(LOAD_SONGS_TO_TAV, &QPushButton::clicked, this, &Form1::LOAD_SONGS_TO_TAV_Click);
    connect(MIDI_SONG_LIST, &SongListWidget::FilesDropped, this, &Form1::AddDroppedFiles);
    connect(MIDI_SONG_LIST, &SongListWidget::SongsChanged, this, &Form1::UpdateStatus);

    SongListStatusBar = new QStatusBar(this);
    SongListStatusBar->setObjectName("SongListStatusBar");
    // A label of its own, which the menus' status tips do not clear.
    SongListStatusText = MakeLabel(SongListStatusBar, "SongListStatusText", QString());
    SongListStatusBar->addWidget(SongListStatusText, 1);
    setStatusBar(SongListStatusBar);
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
    loadSongsToolStripMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    exitToolStripMenuItem =
        AddMenuAction(optionsToolStripMenuItem, "exitToolStripMenuItem", "E&xit");

    optionsToolStripMenuItem1 = TAV_MENU->addMenu("&Options");
    optionsToolStripMenuItem1->setObjectName("optionsToolStripMenuItem1");
    midiDevicesToolStripMenuItem =
        AddMenuAction(optionsToolStripMenuItem1, "midiDevicesToolStripMenuItem", "Midi &Devices");
    advancedOptionsToolStripMenuItem = AddMenuAction(
        optionsToolStripMenuItem1, "advancedOptionsToolStripMenuItem", "Advanced Options");
    mergeTracksToolStripMenuItem = AddMenuAction(
        optionsToolStripMenuItem1, "mergeTracksToolStripMenuItem", "Merge Multi-Track Songs");
    mergeTracksToolStripMenuItem->setCheckable(true);

    connect(aboutToolStripMenuItem, &QAction::triggered, this,
            &Form1::aboutToolStripMenuItem_Click);
    connect(loadSongsToolStripMenuItem, &QAction::triggered, this, &Form1::LOAD_MORE_SONGS_Click);
    connect(exitToolStripMenuItem, &QAction::triggered, this, &Form1::EndApplication);
    connect(midiDevicesToolStripMenuItem, &QAction::triggered, this,
            &Form1::midiDevicesToolStripMenuItem_Click);
    connect(advancedOptionsToolStripMenuItem, &QAction::triggered, this,
            &Form1::advancedOptionsToolStripMenuItem_Click);
    connect(mergeTracksToolStripMenuItem, &QAction::toggled, this, [this](bool bChecked) {
        bMergeTracks = bChecked;
        SaveSettings();
        MIDI_SONG_LIST->RereadMultiTrackSongs(bMergeTracks);
    });
}

void Form1::BuildLayout() {
    QVBoxLayout* pRight = new QVBoxLayout;
    for (QLabel* pLabel : {TAV_PIC, pictureBox1, MidiInDevice, SelectedInDeviceLabel,
                           LabelMIDIOutDevice, SelectedOutDeviceLabel}) {
        pRight->addWidget(pLabel);
    }
    pRight->addStretch(1);
    QHBoxLayout* pTop = new QHBoxLayout;
    pTop->addWidget(MIDI_SONG_LIST, 1);  // the list takes the room the window gains
    pTop->addLayout(pRight);
    QHBoxLayout* pButtons = new QHBoxLayout;
    QWidget* pPrevious = MIDI_SONG_LIST;
    for (QPushButton* pButton : {LOAD_MORE_SONGS, SELECT_NONE_BUTTON, SELECT_ALL_BUTTON,
                                 REMOVE_SELECTED, LOAD_SONGS_TO_TAV}) {
        pButtons->addWidget(pButton);
        setTabOrder(pPrevious, pButton);
        pPrevious = pButton;
    }
    pButtons->addStretch(1);
    QWidget* pCentral = new QWidget(this);
    QVBoxLayout* pLayout = new QVBoxLayout(pCentral);
    pLayout->addLayout(pTop, 1);
    pLayout->addLayout(pButtons);
    setCentralWidget(pCentral);
    // The documented size is where the window starts and the least it can be.
    resize(680, 440);
    setMinimumSize(680, 440);
}

void Form1::Form1_Load() {
    Settings = tTransferSettings{};
    const QString Directory =
        SettingsDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : SettingsDirectory;
    appPath = FromPath(ChooseSettingsFile(
        ToPath(Directory),
        ToPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))));
    // Transfer steps run on this thread from a timer: keep them ahead of other work.
    QThread::currentThread()->setPriority(QThread::HighestPriority);
    ReadDevices();
    UpdateLabel();
    MIDI_SONG_LIST->SetTransferSettings(Settings);
}

void Form1::ReadDevices() {
    Devices = {MidiInDeviceNames(), MidiOutDeviceNames()};
    for (const auto& [pNames, szMissing] : {std::pair{&Devices.OutNames, AppTexts::kNoOutDevices},
                                            std::pair{&Devices.InNames, AppTexts::kNoInDevices}}) {
        if (pNames->empty()) {
            Dialogs.ShowMessage(this, szMissing, AppTexts::kNoDevicesCaption, MESSAGE_ICON_NONE);
        }
    }
    const tSavedSettings Saved = SettingsFile::Read(ToPath(appPath));
    Choose(ChosenDevicesAtStart(Saved, Devices));
    Settings.AckPaced = Saved.AckPaced;
    const QSignalBlocker Quietly(mergeTracksToolStripMenuItem);  // reading never writes
    mergeTracksToolStripMenuItem->setChecked(bMergeTracks = Saved.bMergeTracks);
    LastFolder = FromPath(Saved.LastFolder);
}

void Form1::Choose(const tChosenDevices& NewChoice) {
    Chosen = NewChoice;
    Settings.iSelectedInPort = Chosen.Pair.iInPort;
    Settings.iSelectedOutPort = Chosen.Pair.iOutPort;
}

void Form1::UpdateLabel() {
    SelectedOutDeviceLabel->setText(DeviceLabel(Devices.OutNames, Settings.iSelectedOutPort));
    SelectedInDeviceLabel->setText(DeviceLabel(Devices.InNames, Settings.iSelectedInPort));
}

void Form1::SetTransferSettings(const tTransferSettings& NewSettings) {
    Settings = NewSettings;
    UpdateLabel();
    MIDI_SONG_LIST->SetTransferSettings(Settings);
}

void Form1::UpdateStatus() {
    SongListStatusText->setText(MIDI_SONG_LIST->StatusText());
}

// ---- Adding songs

void Form1::LOAD_MORE_SONGS_Click() {
    if (!LastFolder.isEmpty()) {
        openMIDIFileDialog->setDirectory(LastFolder);
    }
    const QStringList asChosen = Dialogs.ChooseFiles(*openMIDIFileDialog);
    if (!asChosen.isEmpty()) {
        SaveLastFolder(asChosen.first());
        openMIDIFileDialog_FileOk(asChosen);
    }
}

void Form1::AddDroppedFiles(const QStringList& asDropped) {
    const tDroppedSongs Dropped = SongsFromDrop(ToPaths(asDropped));
    if (!Dropped.Problem.empty()) {
        Dialogs.ShowMessage(this, QString::fromStdString(Dropped.Problem),
                            SongMessages::kNotMidiFileCaption, MESSAGE_ICON_WARNING);
        return;
    }
    QStringList asBatch;
    for (const std::filesystem::path& Song : Dropped.Batch) {
        asBatch << FromPath(Song);
    }
    ValidateFileArray(asBatch);
}

void Form1::ValidateFileArray(const QStringList& asChosenFiles) {
    QStringList asMidiFileNames;
    for (const QString& Path : asChosenFiles) {
        asMidiFileNames << QDir::toNativeSeparators(Path);
    }
    const std::vector<std::filesystem::path> Batch = ToPaths(asMidiFileNames);
    const auto AcceptLargeSong = [this](const std::filesystem::path& Song) {
        return Dialogs.AskYesNo(this, FromPath(Song) + kLargeSongQuestion, kLargeSongCaption,
                                MESSAGE_ICON_NONE);
    };
    const std::optional<tBatchRefusal> Refusal = VetSongBatch(Batch, bMergeTracks, AcceptLargeSong);
    if (!Refusal) {
        MIDI_SONG_LIST->AddSongs(asMidiFileNames, bMergeTracks);
    } else if (!Refusal->bDeclinedAsLarge) {
        ShowRefusal(RefusalWithMergeHint(Refusal->Vetting, bMergeTracks),
                    Refusal->Vetting.szCaption);
    }
}

// ---- Transfer

void Form1::LOAD_SONGS_TO_TAV_Click() {
    LOAD_SONGS_TO_TAV->setText(kConvertingButton);
    LOAD_SONGS_TO_TAV->setEnabled(false);
    if (!RefuseTransfer()) {
        const tSendRequest Request{ToPaths(MIDI_SONG_LIST->CheckedSongPaths()), Settings,
                                   bMergeTracks, Devices, Settings.bDebugEnabled};
        if (RunSendSession(Request, *this, Transfer).eEnding == RUN_ABORTED) {
            EndApplication();
        }
    }
    LOAD_SONGS_TO_TAV->setEnabled(true);
    LOAD_SONGS_TO_TAV->setText(kTransferButton);
}

bool Form1::RefuseTransfer() {
    const bool bNoOut = Settings.iSelectedOutPort == -1;
    const bool bNoIn = Settings.iSelectedInPort == -1;
    if (bNoOut || bNoIn) {
        const char* szRefusal = bNoOut && bNoIn ? kInvalidDevices
                                : bNoOut        ? kInvalidOutDevice
                                                : kInvalidInDevice;
        Dialogs.ShowMessage(this, szRefusal, kDeviceErrorCaption, MESSAGE_ICON_NONE);
        return true;
    }
    if (MIDI_SONG_LIST->CheckedSongPaths().isEmpty()) {
        Dialogs.ShowMessage(this, kNoFilesLoaded, kNoFilesCaption, MESSAGE_ICON_NONE);
        return true;
    }
    return false;
}

// Songs that would overwrite each other on the device are sent only when the user says so.
bool Form1::SendClashingSongs(const std::vector<tNameClash>& Clashes) {
    return Dialogs.AskYesNo(
        this, QString::fromStdString(DescribeNameClashes(Clashes)) + kNameClashQuestion,
        kNameClashCaption, MESSAGE_ICON_QUESTION);
}

void Form1::ShowRefusal(const std::string& Message, const char* szCaption) {
    Dialogs.ShowMessage(this, QString::fromStdString(Message), szCaption, MESSAGE_ICON_WARNING);
}

// A song that fails is left out of the transfer; the others go on.
void Form1::ShowPreparedSongs(const tPreparedSongs& Songs) {
    for (const tPreparedSong& Song : Songs.Songs) {
        const QString Path = FromPath(Song.SongPath);
        if (Song.eOutcome == SONG_REFUSED) {
            // The song changed since it was added.
            ShowRefusal(Song.FailureText +
                            (IsRefusedForItsTracks(Song) ? SongMessages::kMergeOptionHint : ""),
                        Song.szRefusalCaption);
        } else if (Song.eOutcome == SONG_CONTENT_FAILURE) {
            Dialogs.ShowMessage(this, Path + SongMessages::kNotMidiFile,
                                SongMessages::kNotMidiFileCaption, MESSAGE_ICON_WARNING);
        } else if (Song.eOutcome == SONG_FILE_SYSTEM_FAILURE) {
            Dialogs.ShowMessage(this, Path + ": " + QString::fromStdString(Song.FailureText),
                                SongMessages::kFileSystemErrorCaption, MESSAGE_ICON_WARNING);
        } else if (Song.bEventsRemoved) {
            Dialogs.ShowMessage(this, Path + SongMessages::kEventsRemoved,
                                SongMessages::kEventsRemovedCaption, MESSAGE_ICON_NONE);
        }
    }
}

tRunEnding Form1::RunTransfer(cTransferRun& Run) {
    LoadFileDialog Dialog(Dialogs, Run, this);
    if (Settings.bMidiInMonitor && mipv) {
        Dialog.PassMidiInPortHandle(mipv);
    }
    const int iResult = Dialogs.ShowModal(Dialog);
    if (iResult == DIALOG_ABORT) {
        Dialogs.ShowMessage(this, kAborted, kAbortedCaption, MESSAGE_ICON_NONE);
        return RUN_ABORTED;
    }
    return iResult == DIALOG_OK ? RUN_ENDED : RUN_CLOSED;
}

void Form1::ShowUndeleted(const std::vector<tUndeletedFile>& Files) {
    QString Message = kFilesLeft;
    for (const tUndeletedFile& File : Files) {
        Message += "\n" + FromPath(File.Path) + ": " + QString::fromStdString(File.Reason);
    }
    Dialogs.ShowMessage(this, Message, kFilesLeftCaption, MESSAGE_ICON_WARNING);
}

void Form1::EndApplication() {
    emit ApplicationEnding();
    close();
}

// ---- Menu

void Form1::aboutToolStripMenuItem_Click() {
    AboutBox Box(this);
    Dialogs.ShowModal(Box);
}

// The lists are read afresh, so that a device plugged in since start-up can be chosen; a device
// that is missing, and a dialog closed without a choice, leave the saved names as they were.
void Form1::midiDevicesToolStripMenuItem_Click() {
    Devices = {MidiInDeviceNames(), MidiOutDeviceNames()};
    Choose(ChosenDevicesIn(Chosen, Devices));
    MidiDeviceSelect Dialog(this);
    Dialog.FillDeviceLists(ToQStringList(Devices.OutNames), ToQStringList(Devices.InNames));
    Dialog.SetDevices(Settings.iSelectedInPort, Settings.iSelectedOutPort);
    const bool bOk = Dialogs.ShowModal(Dialog) == DIALOG_OK;
    Choose(ChosenDevicesAfterDialog(Chosen, bOk,
                                    {Dialog.InDeviceChosen(), Dialog.OutDeviceChosen()}, Devices));
    UpdateLabel();
    SaveSettings();
}

void Form1::SaveSettings() {
    tSavedSettings ToSave = WithChosenDevices({}, Chosen);
    ToSave.bMergeTracks = bMergeTracks;
    ToSave.AckPaced = Settings.AckPaced;
    ToSave.LastFolder = ToPath(LastFolder);
    const std::string Error = SettingsFile::Write(ToPath(appPath), ToSave);
    if (!Error.empty()) {
        Dialogs.ShowMessage(this, QString::fromStdString(Error) + kSettingsNotSaved,
                            kSettingsCaption, MESSAGE_ICON_WARNING);
    }
}

void Form1::SaveLastFolder(const QString& ChosenSong) {
    LastFolder = QDir::toNativeSeparators(QFileInfo(ChosenSong).absolutePath());
    tSavedSettings Saved = SettingsFile::Read(ToPath(appPath));
    Saved.LastFolder = ToPath(LastFolder);
    const std::string Error = SettingsFile::Write(ToPath(appPath), Saved);
    if (!Error.empty()) {
        Dialogs.ShowMessage(this, QString::fromStdString(Error) + kFolderNotSaved, kSettingsCaption,
                            MESSAGE_ICON_WARNING);
    }
}

void Form1::advancedOptionsToolStripMenuItem_Click() {
    DebugWindow Dialog(Dialogs, this);
    Dialog.SetVars(Settings.iTimeBetweenSongs, Settings.iTimeBetweenPackets, Settings.iTimeOut,
                   Settings.bBlindTransfer, Settings.iSelectedOutPort, Settings.iSelectedInPort);
    Dialog.SetAckPaced(Settings.AckPaced);
    if (Dialogs.ShowModal(Dialog) != DIALOG_OK) {
        return;
    }
    const bool WasAckPaced = Settings.AckPaced;
    Dialog.CopyChoicesTo(Settings);
    MIDI_SONG_LIST->SetTransferSettings(Settings);
    if (Settings.AckPaced != WasAckPaced) {
        SaveSettings();
    }
    if (Settings.bMidiInMonitor) {
        mipv = MidiInPortView::Open(this);
    }
}
