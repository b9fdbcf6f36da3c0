#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "ui/DialogResult.h"

class MidiInPortView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class X10FileTransfer;
class cTransferRun;
class iUserDialogs;
struct tTransferTick;

// The progress dialog of one transfer: sends the converted songs one after another, one
// transfer step per tick of its timer, and shows file and overall progress, the current file
// and the transfer's state. The user ends it with OK or Abort; it never closes itself.
class LoadFileDialog : public QDialog {
    Q_OBJECT

  public:
    LoadFileDialog(iUserDialogs& Dialogs, X10FileTransfer& Transfer, QWidget* pParent = nullptr);
    ~LoadFileDialog() override;

    void SetMidiInPort(int32_t iPortNum);
    void SetMidiOutPort(int32_t iPortNum);
    void LoadX10SongList(const QStringList& asX10FileNames_FromMain);
    void LoadSongList(const QStringList& asFileNames_FromMain);
    void SetTimeBetweenSongs(int32_t iTBS) { iTimeBetweenSongs = iTBS; }
    void SetTimeBetweenPackets(int32_t iTBP) { iTimeBetweenPackets = iTBP; }
    void SetTimeOut(int32_t iTO);
    void SetDebugEnabled(bool bDE) { bDebugEnabled = bDE; }
    void PassMidiInPortHandle(MidiInPortView* myMIDIInPortView);

    // Whether the timer is waiting to run the next step.
    bool IsTransferRunning() const;

    bool bBlindTransferEnabled = true;
    uint32_t uiMidiInBlockSize = 32;
    uint32_t uiMidiInNumberOfBuffers = 32;

    QLabel* FILE_PROGRESS;
    QLabel* LFDDebugText;
    QProgressBar* FileProgressBar;
    QLabel* OVERALL_PROGRESS;
    QLabel* CurrentFileLabel;
    QProgressBar* OverallProgressBar;
    QPushButton* LFD_OK;
    QLabel* HandShakeDebug;
    QPushButton* LFD_Abort;
    QTimer* ProgressBarUpdater;

  public slots:
    void done(int iResult) override;

  protected:
    void showEvent(QShowEvent* pEvent) override;

  private slots:
    void ProgressBarUpdater_Tick();
    void LFD_OK_Click();
    void LFD_Abort_Click();

  private:
    void BuildLayout();
    void LoadFileDialog_Load();
    void LoadFileDialog_FormClosed();
    void ShowTick(const tTransferTick& Tick);
    void RestartTimer(int32_t iIntervalMs);

    iUserDialogs& Dialogs;
    X10FileTransfer& Transfer;
    std::unique_ptr<cTransferRun> Run;
    QStringList asFileNames;
    QStringList asX10FileNames;
    int32_t iTotalFiles = 0;
    int32_t iTimeBetweenSongs = 300;
    int32_t iTimeBetweenPackets = 25;
    int32_t iTimeOut = 1000;
    bool bDebugEnabled = false;
    // The monitor goes away when the user closes it; from then on nothing is written to it.
    QPointer<MidiInPortView> mipv;
    bool bEnableInPortView = false;
    bool bLoaded = false;
    bool bClosed = false;
};
