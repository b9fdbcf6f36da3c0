#pragma once

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <memory>

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
// transfer's state. Paced on acknowledgement, input that arrives while a reply is awaited starts
// the tick at once. The user ends it with OK or Abort; it never closes itself.
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
    void RestartTimer(int32_t iIntervalMs, bool WakesOnInput = false);

    iUserDialogs& Dialogs;
    cTransferRun& Run;
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
};
