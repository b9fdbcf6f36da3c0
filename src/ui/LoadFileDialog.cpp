#include "ui/LoadFileDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/TransferEstimate.h"
#include "app/TransferRun.h"
#include "app/TransferWaker.h"
#include "ui/AppIcon.h"
#include "ui/MidiInPortView.h"
#include "ui/UserDialogs.h"
#include "ui/WidgetFactory.h"
#include "ui/WindowTexts.h"

namespace {

QProgressBar* MakeBar(QWidget* pParent, const char* szName) {
    QProgressBar* pBar = new QProgressBar(pParent);
    pBar->setObjectName(szName);
    pBar->setRange(0, 100);
    pBar->setValue(0);
    pBar->setTextVisible(false);
    return pBar;
}

}  // namespace

LoadFileDialog::LoadFileDialog(iUserDialogs& Dialogs, cTransferRun& Run, QWidget* pParent)
    : tLoadsWhenFirstShown(pParent),
      Dialogs(Dialogs),
      Run(Run),
      ProgressText(Run.GetPlan(), EstimateTransfer(Run.GetPlan())) {
    setObjectName("LoadFileDialog");
    setWindowTitle("Loading Files ...");
    setWindowIcon(AppIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    SongNumberLabel =
        MakeLabel(this, "SongNumberLabel", QString::fromStdString(ProgressText.SongText()));
    TimeLabel = MakeLabel(this, "TimeLabel", QString::fromStdString(ProgressText.TimeText(0)));
    TimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QFont LabelFont("Microsoft Sans Serif", 10);
    FILE_PROGRESS = MakeLabel(this, "FILE_PROGRESS", "File Progress:");
    FILE_PROGRESS->setFont(LabelFont);
    LFDDebugText = MakeLabel(this, "LFDDebugText", "Debug Text");
    FileProgressBar = MakeBar(this, "FileProgressBar");
    OVERALL_PROGRESS = MakeLabel(this, "OVERALL_PROGRESS", "Overall Progress");
    OVERALL_PROGRESS->setFont(LabelFont);
    CurrentFileLabel = MakeLabel(this, "CurrentFileLabel", "Current File");
    OverallProgressBar = MakeBar(this, "OverallProgressBar");
    LFD_OK = MakeDialogButton(this, "LFD_OK", "OK");
    HandShakeDebug = MakeLabel(this, "HandShakeDebug", "handshake debug");
    HandShakeDebug->setAlignment(Qt::AlignCenter);
    HandShakeDebug->setVisible(false);
    HandShakeDebug->setEnabled(false);
    LFD_Abort = MakeDialogButton(this, "LFD_Abort", "Abort");
    SummaryLabel = MakeLabel(this, "SummaryLabel", QString());
    SummaryLabel->setWordWrap(true);
    SummaryLabel->setVisible(false);
    ProgressBarUpdater = new QTimer(this);
    ProgressBarUpdater->setObjectName("ProgressBarUpdater");
    ProgressBarUpdater->setSingleShot(true);
    OverallProgressBar->setRange(0, Run.OverallMaximum());
    BuildLayout();

    connect(ProgressBarUpdater, &QTimer::timeout, this, &LoadFileDialog::ProgressBarUpdater_Tick);
    connect(LFD_OK, &QPushButton::clicked, this, &LoadFileDialog::LFD_OK_Click);
    connect(LFD_Abort, &QPushButton::clicked, this, &LoadFileDialog::LFD_Abort_Click);
}

LoadFileDialog::~LoadFileDialog() {
    LoadFileDialog_FormClosed();
}

void LoadFileDialog::BuildLayout() {
    QGridLayout* pLayout = new QGridLayout(this);
    pLayout->setHorizontalSpacing(12);
    pLayout->addWidget(SongNumberLabel, 0, 0);
    pLayout->addWidget(TimeLabel, 0, 1, 1, 2);
    pLayout->addWidget(FILE_PROGRESS, 1, 0);
    pLayout->addWidget(LFDDebugText, 1, 1, 1, 2);
    pLayout->addWidget(FileProgressBar, 2, 0, 1, 3);
    pLayout->addWidget(OVERALL_PROGRESS, 3, 0);
    pLayout->addWidget(CurrentFileLabel, 3, 1, 1, 2);
    pLayout->addWidget(OverallProgressBar, 4, 0, 1, 3);
    pLayout->addWidget(SummaryLabel, 5, 0, 1, 3);
    pLayout->addWidget(LFD_OK, 6, 0, Qt::AlignLeft);
    pLayout->addWidget(HandShakeDebug, 6, 1);
    pLayout->addWidget(LFD_Abort, 6, 2, Qt::AlignRight);
    pLayout->setColumnStretch(1, 1);
    pLayout->setRowMinimumHeight(6, 40);
    setMinimumWidth(440);
}

void LoadFileDialog::PassMidiInPortHandle(MidiInPortView* myMIDIInPortView) {
    mipv = myMIDIInPortView;
    bEnableInPortView = true;
}

void LoadFileDialog::LoadFileDialog_Load() {
    if (PacedOnAcknowledgement(Run.Settings())) {
        // Called on the MIDI thread: it only posts, and the tick runs here.
        TransferWaker().SetForward([this] {
            QMetaObject::invokeMethod(this, &LoadFileDialog::InputArrived, Qt::QueuedConnection);
        });
    }
    SinceStart.start();
    RestartTimer(Run.Start());
    if (Run.Settings().bDebugEnabled) {
        HandShakeDebug->setEnabled(true);
        HandShakeDebug->setVisible(true);
    }
}

void LoadFileDialog::ProgressBarUpdater_Tick() {
    ProgressBarUpdater->stop();
    if (bClosed) {
        return;
    }
    const tTransferTick Tick = Run.Tick();
    ShowTick(Tick);
    ShowProgressText(Tick);
    if (Tick.szMessage != nullptr) {
        QString Message = Tick.szMessage;
        for (const std::string& Paragraph : {Tick.Detail, Tick.NotSent}) {
            if (!Paragraph.empty()) {
                Message += "\n\n" + QString::fromStdString(Paragraph);
            }
        }
        Dialogs.ShowMessage(this, Message, Tick.szCaption, MESSAGE_ICON_NONE);
    }
    // The user may have ended the dialog while the message box was up.
    if (!bClosed) {
        RestartTimer(Tick.iNextIntervalMs, Tick.WakeOnInput);
    }
}

void LoadFileDialog::InputArrived() {
    if (!bClosed && WakeOnInput && ProgressBarUpdater->isActive() && Run.InputWaiting()) {
        ProgressBarUpdater_Tick();
    }
}

void LoadFileDialog::ShowTick(const tTransferTick& Tick) {
    if (Tick.bPortTextChanged && bEnableInPortView && mipv) {
        // The text breaks its lines with CR LF; the text box wants line feeds alone.
        mipv->ReplaceText(
            QString::fromStdString(Tick.PortText).replace(QLatin1String("\r\n"), "\n"));
    }
    CurrentFileLabel->setText(QString::fromStdString(Tick.CurrentFileLabel));
    if (Tick.bFileBarRangeChanged) {
        FileProgressBar->setRange(0, Tick.iFileBarMaximum);
    }
    if (Tick.bFileBarValueChanged) {
        FileProgressBar->setValue(Tick.iFileBarValue);
    }
    if (Tick.bOverallValueChanged) {
        OverallProgressBar->setValue(Tick.iOverallValue);
    }
    HandShakeDebug->setText(QString::fromStdString(Tick.HandShakeText));
    LFDDebugText->setText(QString::fromStdString(Tick.StateText));
}

void LoadFileDialog::ShowProgressText(const tTransferTick& Tick) {
    ProgressText.Take(Tick);
    const int64_t iElapsedMs = SinceStart.elapsed();
    SongNumberLabel->setText(QString::fromStdString(ProgressText.SongText()));
    TimeLabel->setText(QString::fromStdString(ProgressText.TimeText(iElapsedMs)));
    if (ProgressText.Stopped()) {
        SummaryLabel->setText(QString::fromStdString(ProgressText.SummaryText(iElapsedMs)));
        ShowEnded();
    }
}

// A finished send can only be closed: Enter takes OK, and Abort, which ends the program, is off.
void LoadFileDialog::ShowEnded() {
    SummaryLabel->setVisible(true);
    setWindowTitle(WindowTexts::kProgressFinishedTitle);
    LFD_Abort->setEnabled(false);
    LFD_OK->setDefault(true);
    LFD_OK->setFocus();
}

void LoadFileDialog::RestartTimer(int32_t iIntervalMs, bool WakesOnInput) {
    WakeOnInput = WakesOnInput;
    if (iIntervalMs < 0) {
        return;  // the run has stopped: the dialog waits for the user
    }
    ProgressBarUpdater->start(std::max(iIntervalMs, 1));
}

// OK and Abort end the send like any other closing; the result tells the main window which.
void LoadFileDialog::LFD_OK_Click() {
    done(DIALOG_OK);
}

void LoadFileDialog::LFD_Abort_Click() {
    done(DIALOG_ABORT);
}

void LoadFileDialog::done(int iResult) {
    LoadFileDialog_FormClosed();
    QDialog::done(iResult);
}

void LoadFileDialog::LoadFileDialog_FormClosed() {
    ProgressBarUpdater->stop();
    if (PacedOnAcknowledgement(Run.Settings())) {
        TransferWaker().SetForward(nullptr);
    }
    if (WasShown() && !bClosed) {
        Run.End();
    }
    bClosed = true;
}
