#include "ui/DebugWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>
#include <thread>

#include "app/TransferOptions.h"
#include "app/TransferSettings.h"
#include "midi/MIDIOutPort.h"
#include "ui/AppIcon.h"
#include "ui/UserDialogs.h"

namespace {

QLineEdit* MakeBox(QWidget* pParent, const char* szName, const char* szText) {
    QLineEdit* pBox = new QLineEdit(szText, pParent);
    pBox->setObjectName(szName);
    pBox->setMaximumWidth(80);
    return pBox;
}

QLabel* MakeLabel(QWidget* pParent, const char* szName, const char* szText) {
    QLabel* pLabel = new QLabel(szText, pParent);
    pLabel->setObjectName(szName);
    return pLabel;
}

QCheckBox* MakeCheckBox(QWidget* pParent, const char* szName, const char* szText) {
    QCheckBox* pBox = new QCheckBox(szText, pParent);
    pBox->setObjectName(szName);
    return pBox;
}

QPushButton* MakeButton(QWidget* pParent, const char* szName, const char* szText) {
    QPushButton* pButton = new QPushButton(szText, pParent);
    pButton->setObjectName(szName);
    pButton->setAutoDefault(false);
    return pButton;
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

void SleepFor(int32_t iMilliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(iMilliseconds));
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
    EnableDebugText = MakeCheckBox(this, "EnableDebugText", "Enable Debug Information");
    EnableMIDIInWindow = MakeCheckBox(this, "EnableMIDIInWindow", "Enable MIDI In Monitor");
    DWOK = MakeButton(this, "DWOK", "OK");
    DWOK->setDefault(true);
    Unlock_Button = MakeButton(this, "Unlock_Button", "Unlock Default Songs");
    LockDefaults = MakeButton(this, "LockDefaults", "Lock Default Songs");
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

void DebugWindow::SetPause(std::function<void(int32_t)> PauseFunction) {
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

void DebugWindow::EnableBlindTransfer_CheckedChanged() {
    TimeBetweenPackets->setText(QString::number(kDefaultTransferSettings.iTimeBetweenPackets));
}

void DebugWindow::DWOK_Click() {
    iTimeBetweenSongs = ReadBox(TimeBetweenSongs, iTimeBetweenSongs);
    iTimeBetweenPackets = ReadBox(TimeBetweenPackets, iTimeBetweenPackets);
    bDebugEnabled = EnableDebugText->isChecked();
    bMidiInWindow = EnableMIDIInWindow->isChecked();
    bBlindTransfer = EnableBlindTransfer->isChecked();
    const TransferOptions::tIntervalCheck Interval =
        TransferOptions::CheckPacketInterval(iTimeBetweenPackets, bBlindTransfer);
    if (Interval.szMessage != nullptr) {
        Dialogs.ShowMessage(this, Interval.szMessage, Interval.szCaption, MESSAGE_ICON_NONE);
    }
    iTimeBetweenPackets = Interval.iInterval;
    iTimeOut = ReadBox(TimeOut, iTimeOut);
    accept();
}

void DebugWindow::Unlock_Button_Click() {
    if (!Dialogs.AskYesNo(this, TransferOptions::kUnlockQuestion, TransferOptions::kUnlockCaption,
                          MESSAGE_ICON_QUESTION)) {
        return;
    }
    SendToOutputDevice(
        {{DefaultSongCommands::kUnlockFirst, DefaultSongCommands::kPauseBetweenUnlockMs},
         {DefaultSongCommands::kUnlockSecond, DefaultSongCommands::kPauseBeforeCloseMs}});
}

void DebugWindow::LockDefaults_Click() {
    // Only the first lock message goes out; whether the device wants the second is not known.
    SendToOutputDevice(
        {{DefaultSongCommands::kLockFirst, DefaultSongCommands::kPauseBeforeCloseMs}});
}

void DebugWindow::SendToOutputDevice(
    std::initializer_list<DefaultSongCommands::tTimedCommand> Commands) {
    if (iSelectedOutPort == -1) {
        Dialogs.ShowMessage(this, TransferOptions::kInvalidOutputPort, "", MESSAGE_ICON_NONE);
        return;
    }
    cMIDIOutPort Port;
    // A device that does not open gets nothing sent and nothing to close.
    if (Port.OpenPort(static_cast<uint32_t>(iSelectedOutPort)) != MMSYSERR_NOERROR) {
        return;
    }
    for (const DefaultSongCommands::tTimedCommand& Timed : Commands) {
        Port.SendSysexPacket(static_cast<int32_t>(Timed.Command.size()), Timed.Command.data());
        Pause(Timed.iPauseAfterMs);
    }
    Port.ClosePort();
}
