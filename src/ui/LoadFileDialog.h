#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <cstdint>
#include <memory>

#include "app/TransferProgressText.h"
#include "app/TransferRun.h"
#include "ui/DialogResult.h"
#include "ui/LoadsWhenFirstShown.h"

class MidiInPortView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class iUserDialogs;

// The progress dialog of one transfer: runs the plan's songs one after another, one transfer
// step per tick of its timer, and shows file and overall progress, the current file and the
// transfer's state, with the song's number and the time elapsed and left above them. Paced on
// acknowledgement, input that arrives while a reply is awaited starts the tick at once. Once the
// send has ended it says how, OK becomes the default button and Abort is disabled, so that only
// a running send can end the program. The user ends it with OK or Abort; it never closes itself.
class LoadFileDialog : public tLoadsWhenFirstShown<QDialog> {
    Q_OBJECT

  public:
    // Runs Run, which outlives the dialog.
    LoadFileDialog(iUserDialogs& Dialogs, cTransferRun& Run, QWidget* pParent = nullptr);
    ~LoadFileDialog() override;

    void PassMidiInPortHandle(MidiInPortView* myMIDIInPortView);

    // What the dialog was given to send.
    const tTransferPlan& Plan() const { return Run.GetPlan(); }

  public slots:
    void done(int iResult) override;

  protected:
    void LoadWhenFirstShown() override { LoadFileDialog_Load(); }

  private slots:
    void ProgressBarUpdater_Tick();
    // Input arrived for the transfer (posted by the MIDI input's waker).
    void InputArrived();
    void LFD_OK_Click();
    void LFD_Abort_Click();

  private:
    void BuildLayout();
    void LoadFileDialog_Load();
    void LoadFileDialog_FormClosed();
    void ShowTick(const tTransferTick& Tick);
    void ShowProgressText(const tTransferTick& Tick);
    void ShowEnded();
    void RestartTimer(int32_t iIntervalMs, bool WakesOnInput = false);

    iUserDialogs& Dialogs;
    cTransferRun& Run;
    cTransferProgressText ProgressText;
    QElapsedTimer SinceStart;
    // The monitor goes away when the user closes it; from then on nothing is written to it.
    QPointer<MidiInPortView> mipv;
    bool bEnableInPortView = false;
    bool bClosed = false;
    bool WakeOnInput = false;  // the tick waited for may come sooner, when input arrives

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
    QLabel* SongNumberLabel;  // "Song 2 of 3"
    QLabel* TimeLabel;        // the time elapsed and left
    QLabel* SummaryLabel;     // how the send ended, once it has
};
