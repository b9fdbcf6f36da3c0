#include "ui/DebugWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/TransferOptions.h"
#include "app/TransferSettings.h"
#include "ui/AppIcon.h"
#include "ui/UserDialogs.h"
#include "ui/WidgetFactory.h"
#include "ui/WindowTexts.h"

namespace {

QLineEdit* MakeBox(QWidget* pParent, const char* szName, const char* szText) {
    QLineEdit* pBox = new QLineEdit(szText, pParent);
    pBox->setObjectName(szName);
    pBox->setMaximumWidth(80);
    return pBox;
}

QCheckBox* MakeCheckBox(QWidget* pParent, const char* szName, const char* szText) {
    QCheckBox* pBox = new QCheckBox(szText, pParent);
    pBox->setObjectName(szName);
    return pBox;
}

void HideAndDisable(QWidget* pWidget) {
    pWidget->setVisible(false);
    pWidget->setEnabled(false);
}

// A box's text as a signed base-10 integer; text that is none keeps the value it had.
int32_t ReadBox(const QLineEdit* pBox, int32_t iPrevious) {
    bool bOk = false;
    const int iValue = pBox->text().trimmed().toInt(&bOk, 10);
    return bOk ? iValue : iPrevious;
}

}  // namespace

DebugWindow::DebugWindow(iUserDialogs& Dialogs, QWidget* pParent)
    : QDialog(pParent), Dialogs(Dialogs), Pause(SleepFor) {
    setObjectName("DebugWindow");
    setWindowTitle("Advanced Options");
    setWindowIcon(AppIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    TimeBetweenSongs = MakeBox(this, "TimeBetweenSongs", "100");
    label1 = MakeLabel(this, "label1", "ms Between Song Sends");
    TimeBetweenPackets = MakeBox(this, "TimeBetweenPackets", "50");
    label2 = MakeLabel(this, "label2", "ms Between Packets");
    TimeOut = MakeBox(this, "TimeOut", "300");
    Lable3 = MakeLabel(this, "Lable3", "Packet Time Out");
    NumberOfMIDIInBuffersTextBox = MakeBox(this, "NumberOfMIDIInBuffersTextBox", "32");
    NumberOfBuffers = MakeLabel(this, "NumberOfBuffers", "Number of MIDI In Buffers");
    SizeOfMIDIInBufferTextBox = MakeBox(this, "SizeOfMIDIInBufferTextBox", "32");
    SizeOfMidiInBuffer = MakeLabel(this, "SizeOfMidiInBuffer", "Size Of MIDI In Buffer");
    EnableBlindTransfer = MakeCheckBox(this, "EnableBlindTransfer", "Enable Blind Transfer");
    EnableBlindTransfer->setToolTip(AppTexts::kBlindUnconfirmed);
    SendWhenAcknowledged =
        MakeCheckBox(this, "SendWhenAcknowledged", "Send Each Packet When Acknowledged");
    SendWhenAcknowledged->setToolTip(WindowTexts::kAckPacedTip);
    EnableDebugText = MakeCheckBox(this, "EnableDebugText", "Enable Debug Information");
    EnableMIDIInWindow = MakeCheckBox(this, "EnableMIDIInWindow", "Enable MIDI In Monitor");
    DWOK = MakeDialogButton(this, "DWOK", "OK");
    DWOK->setDefault(true);
    Unlock_Button = MakeDialogButton(this, "Unlock_Button", "Unlock Default Songs");
    LockDefaults = MakeDialogButton(this, "LockDefaults", "Lock Default Songs");
    BuildLayout();

    // The debug and monitor options and the lock command are not offered.
    HideAndDisable(EnableDebugText);
    HideAndDisable(EnableMIDIInWindow);
    HideAndDisable(LockDefaults);

    connect(EnableBlindTransfer, &QCheckBox::toggled, this,
            &DebugWindow::EnableBlindTransfer_CheckedChanged);
    connect(DWOK, &QPushButton::clicked, this, &DebugWindow::DWOK_Click);
    connect(Unlock_Button, &QPushButton::clicked, this, &DebugWindow::Unlock_Button_Click);
    connect(LockDefaults, &QPushButton::clicked, this, &DebugWindow::LockDefaults_Click);
}

void DebugWindow::BuildLayout() {
    QGridLayout* pBoxes = new QGridLayout;
    QLineEdit* apBoxes[] = {TimeBetweenSongs, TimeBetweenPackets, TimeOut,
                            NumberOfMIDIInBuffersTextBox, SizeOfMIDIInBufferTextBox};
    QLabel* apLabels[] = {label1, label2, Lable3, NumberOfBuffers, SizeOfMidiInBuffer};
    for (int i = 0; i < 5; ++i) {
        pBoxes->addWidget(apBoxes[i], i, 0);
        pBoxes->addWidget(apLabels[i], i, 1);
    }

    QVBoxLayout* pRight = new QVBoxLayout;
    pRight->addWidget(EnableBlindTransfer);
    pRight->addWidget(SendWhenAcknowledged);
    pRight->addWidget(EnableDebugText);
    pRight->addWidget(EnableMIDIInWindow);
    pRight->addStretch(1);
    pRight->addWidget(Unlock_Button);
    pRight->addWidget(LockDefaults);
    pRight->addWidget(DWOK);

    QHBoxLayout* pColumns = new QHBoxLayout(this);
    pColumns->addLayout(pBoxes);
    pColumns->addSpacing(16);
    pColumns->addLayout(pRight);
    pColumns->setSizeConstraint(QLayout::SetFixedSize);
}

void DebugWindow::SetPause(tCommandPause PauseFunction) {
    Pause = std::move(PauseFunction);
}

void DebugWindow::SetVars(int32_t iTBS, int32_t iTBP, int32_t iTO, bool bBTE, int32_t iSOP,
                          int32_t iSIP) {
    iSelectedInPort = iSIP;
    iSelectedOutPort = iSOP;
    iTimeBetweenSongs = iTBS;
    TimeBetweenSongs->setText(QString::number(iTBS));
    iTimeBetweenPackets = iTBP;
    TimeBetweenPackets->setText(QString::number(iTBP));
    iTimeOut = iTO;
    TimeOut->setText(QString::number(iTO));
    bBlindTransfer = bBTE;
    EnableBlindTransfer->setChecked(bBTE);
}

void DebugWindow::SetAckPaced(bool On) {
    AckPaced = On;
    SendWhenAcknowledged->setChecked(On);
}

// Pacing on acknowledgement needs the replies that a blind transfer does not wait for.
void DebugWindow::EnableBlindTransfer_CheckedChanged() {
    TimeBetweenPackets->setText(QString::number(kDefaultTransferSettings.iTimeBetweenPackets));
    SendWhenAcknowledged->setEnabled(!EnableBlindTransfer->isChecked());
}

void DebugWindow::DWOK_Click() {
    iTimeBetweenSongs = ReadBox(TimeBetweenSongs, iTimeBetweenSongs);
    iTimeBetweenPackets = ReadBox(TimeBetweenPackets, iTimeBetweenPackets);
    bDebugEnabled = EnableDebugText->isChecked();
    bMidiInWindow = EnableMIDIInWindow->isChecked();
    bBlindTransfer = EnableBlindTransfer->isChecked();
    AckPaced = SendWhenAcknowledged->isChecked();
    iTimeOut = ReadBox(TimeOut, iTimeOut);
    iTimeBetweenPackets =
        Checked(TransferOptions::CheckPacketInterval(iTimeBetweenPackets, bBlindTransfer));
    iTimeBetweenSongs = Checked(TransferOptions::CheckSongInterval(iTimeBetweenSongs));
    iTimeOut = Checked(TransferOptions::CheckTimeOut(iTimeOut));
    accept();
}

int32_t DebugWindow::Checked(const TransferOptions::tOptionCheck& Check) {
    if (Check.szMessage != nullptr) {
        Dialogs.ShowMessage(this, Check.szMessage, Check.szCaption, MESSAGE_ICON_NONE);
    }
    return Check.iValue;
}

void DebugWindow::CopyChoicesTo(tTransferSettings& Settings) const {
    Settings.iTimeBetweenSongs = iTimeBetweenSongs;
    Settings.iTimeBetweenPackets = iTimeBetweenPackets;
    Settings.iTimeOut = iTimeOut;
    Settings.bDebugEnabled = bDebugEnabled;
    Settings.bMidiInMonitor = bMidiInWindow;
    Settings.bBlindTransfer = bBlindTransfer;
    Settings.AckPaced = AckPaced;
}

void DebugWindow::Unlock_Button_Click() {
    if (Dialogs.AskYesNo(this, AppTexts::kUnlockQuestion, AppTexts::kUnlockCaption,
                         MESSAGE_ICON_QUESTION)) {
        ReportCommand(UnlockDefaultSongs(iSelectedOutPort, Pause), WindowTexts::kUnlockFailed);
    }
}

void DebugWindow::LockDefaults_Click() {
    ReportCommand(LockDefaultSongs(iSelectedOutPort, Pause), WindowTexts::kLockFailed);
}

void DebugWindow::ReportCommand(const tDeviceCommandResult& Result, const char* szWhatFailed) {
    if (Result.eFailure == COMMAND_NO_DEVICE) {
        Dialogs.ShowMessage(this, AppTexts::kInvalidOutputPort, "", MESSAGE_ICON_NONE);
    } else if (!Result.Sent()) {
        Dialogs.ShowMessage(this, szWhatFailed + QString::fromStdString(Result.FailureText) + ".",
                            AppTexts::kUnlockCaption, MESSAGE_ICON_WARNING);
    }
}
