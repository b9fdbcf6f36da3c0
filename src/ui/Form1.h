#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <cstdint>

#include "app/TransferSettings.h"

class MidiInPortView;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class SongListWidget;
class X10FileTransfer;
class iUserDialogs;

// The main window: the list of songs to send, the device choice and the transfer settings. It
// vets songs as they are added, converts the checked ones, hands them to the progress dialog
// and deletes the converted files afterwards; it opens every other dialog.
class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    Form1(iUserDialogs& Dialogs, X10FileTransfer& Transfer, QWidget* pParent = nullptr);

    // Where SongLoader.ini lives; the executable's directory unless set before the window is
    // first shown.
    void SetSettingsDirectory(const QString& Directory);

    // Song list data: full paths, index i belonging to list row i.
    QStringList asMidiFileNames;
    QStringList asSongsInList;
    QStringList asUnCheckedSongs;
    QStringList asCheckedSongs;
    QStringList asX10FileNames;

    // Devices and transfer settings; only the two device indices outlive the window.
    uint32_t uiNumOutPorts = 0;
    uint32_t uiNumInPorts = 0;
    QStringList asOutPortNames;
    QStringList asInPortNames;
    tTransferSettings Settings;
    QString appPath;
    QPointer<MidiInPortView> mipv;

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
    QFileDialog* openMIDIFileDialog;

  signals:
    // The program is to end: File > Exit, an aborted transfer, a file system error.
    void ApplicationEnding();

  public slots:
    void LOAD_MORE_SONGS_Click();
    void loadSongsToolStripMenuItem_Click();
    void openMIDIFileDialog_FileOk(const QStringList& asChosenFiles);
    void MIDI_SONG_LIST_DragEnter(QDragEnterEvent* pEvent);
    void MIDI_SONG_LIST_DragDrop(QDropEvent* pEvent);
    void SELECT_ALL_BUTTON_Click();
    void SELECT_NONE_BUTTON_Click();
    void REMOVE_SELECTED_Click();
    void LOAD_SONGS_TO_TAV_Click();
    void aboutToolStripMenuItem_Click();
    void exitToolStripMenuItem_Click();
    void midiDevicesToolStripMenuItem_Click();
    void advancedOptionsToolStripMenuItem_Click();

  protected:
    void showEvent(QShowEvent* pEvent) override;

  private:
    void BuildControls();
    void BuildMenu();
    void BuildLayout();
    void Form1_Load();
    void ReadDevices();
    void ValidateFileArray();
    bool VetOneSong(const QString& Path);
    void UpdateLabel();
    void SaveDeviceChoice();
    bool RefuseTransfer();
    // Converts the checked songs into asX10FileNames; false when the program is to end.
    bool ConvertCheckedSongs();
    void RunTransfer();
    void DeleteConvertedFiles();
    void EndApplication();

    iUserDialogs& Dialogs;
    X10FileTransfer& Transfer;
    QString SettingsDirectory;
    bool bLoaded = false;
};
