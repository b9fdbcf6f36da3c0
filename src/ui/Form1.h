#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <filesystem>

#include "app/ChosenDevices.h"
#include "app/SendSession.h"
#include "app/TransferPlan.h"
#include "app/TransferSettings.h"
#include "ui/LoadsWhenFirstShown.h"

class MidiInPortView;
class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;
class SongListWidget;
class X10FileTransfer;
class iUserDialogs;
struct tPreparedSongs;

// The main window: the list of songs to send, the device choice and the transfer settings. It
// shows what the application layer decides (vetting, preparation, the transfer run, clean-up)
// and opens every other dialog.
class Form1 : public tLoadsWhenFirstShown<QMainWindow>, private iSendFrontEnd {
    Q_OBJECT

  public:
    Form1(iUserDialogs& Dialogs, X10FileTransfer& Transfer, QWidget* pParent = nullptr);

    // Where SongLoader.ini lives; the executable's directory unless set before the window is
    // first shown.
    void SetSettingsDirectory(const QString& Directory) { SettingsDirectory = Directory; }
    QString SettingsFilePath() const { return appPath; }

    // The settings the next transfer runs with; only the devices outlive the window.
    const tTransferSettings& TransferSettings() const { return Settings; }
    void SetTransferSettings(const tTransferSettings& NewSettings);

  signals:
    // The program is to end: File > Exit, an aborted transfer, a file system error.
    void ApplicationEnding();

  protected:
    void LoadWhenFirstShown() override { Form1_Load(); }

  private slots:
    void LOAD_MORE_SONGS_Click();
    void openMIDIFileDialog_FileOk(const QStringList& asChosenFiles) {
        ValidateFileArray(asChosenFiles);
    }
    void ValidateFileArray(const QStringList& asMidiFileNames);
    void LOAD_SONGS_TO_TAV_Click();
    void aboutToolStripMenuItem_Click();
    void midiDevicesToolStripMenuItem_Click();
    void advancedOptionsToolStripMenuItem_Click();
    // Files and folders dropped on the list: each folder gives the MIDI files directly in it.
    void AddDroppedFiles(const QStringList& asDropped);
    void UpdateStatus();

  private:
    void BuildControls();
    void BuildMenu();
    void BuildLayout();
    void Form1_Load();
    void ReadDevices();
    // The device choice becomes NewChoice: the indices the transfer uses and the names saved.
    void Choose(const tChosenDevices& NewChoice);
    void UpdateLabel();
    // The message for a song that vetting refuses.
    void ShowRefusal(const std::string& Message, const char* szCaption);
    // Writes SongLoader.ini: the device choice and the merge option.
    void SaveSettings();
    // Remembers the folder of the songs just chosen, changing nothing else in SongLoader.ini.
    void SaveLastFolder(const QString& ChosenSong);
    bool RefuseTransfer();
    void EndApplication();

    // The window's side of a send session: it asks before sending clashing songs, shows what
    // happened in message boxes and runs the transfer in the progress dialog.
    bool SendClashingSongs(const std::vector<tNameClash>& Clashes) override;
    bool StopRequested() override { return false; }
    void ShowPreparedSongs(const tPreparedSongs& Songs) override;
    tRunEnding RunTransfer(cTransferRun& Run) override;
    void ShowUndeleted(const std::vector<tUndeletedFile>& Files) override;

    iUserDialogs& Dialogs;
    X10FileTransfer& Transfer;
    tTransferSettings Settings;
    bool bMergeTracks = false;  // multi-track songs are taken, their tracks merged
    tChosenDevices Chosen;      // its names are kept while a device is missing
    tDeviceLists Devices;       // as read last (at start, or as the device dialog opened)
    QString SettingsDirectory;
    QString appPath;
    QString LastFolder;  // where the file dialog opens; empty: its default
    QPointer<MidiInPortView> mipv;

    // The controls, each with its own name as its object name.
    QPushButton* LOAD_MORE_SONGS;
    QPushButton* SELECT_NONE_BUTTON;
    QPushButton* SELECT_ALL_BUTTON;
    QPushButton* REMOVE_SELECTED;
    QPushButton* LOAD_SONGS_TO_TAV;
    SongListWidget* MIDI_SONG_LIST;
    QLabel* MidiInDevice;
    QLabel* SelectedInDeviceLabel;
    QLabel* LabelMIDIOutDevice;
    QLabel* SelectedOutDeviceLabel;
    QLabel* TAV_PIC;
    QLabel* pictureBox1;
    QMenuBar* TAV_MENU;
    QMenu* optionsToolStripMenuItem;
    QAction* aboutToolStripMenuItem;
    QAction* loadSongsToolStripMenuItem;
    QAction* exitToolStripMenuItem;
    QMenu* optionsToolStripMenuItem1;
    QAction* midiDevicesToolStripMenuItem;
    QAction* advancedOptionsToolStripMenuItem;
    QAction* mergeTracksToolStripMenuItem;
    QFileDialog* openMIDIFileDialog;
    QStatusBar* SongListStatusBar;
    QLabel* SongListStatusText;
};
