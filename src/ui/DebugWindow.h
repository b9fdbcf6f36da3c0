#pragma once

#include <QDialog>
#include <cstdint>

#include "app/DeviceCommands.h"
#include "app/TransferOptions.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class iUserDialogs;
struct tTransferSettings;

// The advanced options dialog: transfer timing, time-out and blind transfer, and the command
// that unlocks the device's default songs. The main window takes the choices back after OK.
class DebugWindow : public QDialog {
    Q_OBJECT

  public:
    explicit DebugWindow(iUserDialogs& Dialogs, QWidget* pParent = nullptr);

    void SetVars(int32_t iTBS, int32_t iTBP, int32_t iTO, bool bBTE, int32_t iSOP, int32_t iSIP);
    // Whether each packet is to go once the one before is acknowledged (with handshakes only).
    void SetAckPaced(bool On);
    // After OK: the choices made here, into the settings they came from.
    void CopyChoicesTo(tTransferSettings& Settings) const;
    // How the device commands wait; the program sleeps, tests record the pauses.
    void SetPause(tCommandPause PauseFunction);

  private slots:
    void DWOK_Click();
    void Unlock_Button_Click();
    void LockDefaults_Click();
    void EnableBlindTransfer_CheckedChanged();

  private:
    void BuildLayout();
    // The value an option check leaves, with its message shown when it corrected the value.
    int32_t Checked(const TransferOptions::tOptionCheck& Check);
    // Tells the user when a device command was not sent, and why.
    void ReportCommand(const tDeviceCommandResult& Result, const char* szWhatFailed);

    iUserDialogs& Dialogs;
    tCommandPause Pause;

    int32_t iTimeBetweenSongs = 0;
    int32_t iTimeBetweenPackets = 0;
    int32_t iTimeOut = 0;
    bool bDebugEnabled = false;
    bool bMidiInWindow = false;
    bool bBlindTransfer = false;
    bool AckPaced = false;
    int32_t iSelectedInPort = -1;
    int32_t iSelectedOutPort = -1;

    QLineEdit* TimeBetweenSongs;
    QLabel* label1;
    QLineEdit* TimeBetweenPackets;
    QLabel* label2;
    QLineEdit* TimeOut;
    QLabel* Lable3;
    QLineEdit* NumberOfMIDIInBuffersTextBox;
    QLabel* NumberOfBuffers;
    QLineEdit* SizeOfMIDIInBufferTextBox;
    QLabel* SizeOfMidiInBuffer;
    QCheckBox* EnableBlindTransfer;
    QCheckBox* SendWhenAcknowledged;
    QCheckBox* EnableDebugText;
    QCheckBox* EnableMIDIInWindow;
    QPushButton* DWOK;
    QPushButton* Unlock_Button;
    QPushButton* LockDefaults;
};
