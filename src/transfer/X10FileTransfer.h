#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/FileAccess.h"
#include "transfer/MIDIPort.h"
#include "transfer/X10State.h"

// What ended a transfer in X10_ERROR: the platform's result of the port operation that failed
// (MMSYSERR_NOERROR when the song file could not be read), and which port it was; or the
// device's end-of-file handshake before it had every data packet (the last one it answered).
struct tX10Failure {
    MMRESULT eResult = MMSYSERR_NOERROR;
    bool bOutputPort = true;
    bool bEndedEarly = false;
    int32_t iEndedAfterPacket = 0;  // 0: at the header
    int32_t iDataPackets = 0;
    // Why the song file could not be opened ("the file is a FIFO, not a regular file"); empty
    // when it was.
    std::string FileProblem;
};

// Sends one x10 song file to the device, one step per call of X10StateMachine, and is then
// reset for the next. With handshakes the header and each data packet wait for the device's
// ACK (NAK resends, CANCEL or a time-out ends the file, WAIT gives the device ten times the
// time-out); blind, messages simply follow each other, but a CANCEL still ends the file, and
// after the end-of-file message the input is watched for a CANCEL for a number of steps. The
// device's EOF ends the file too: as sent once it has answered every data packet, as an error
// before that (it cannot have stored the song). All pacing is counted in steps: the caller's
// timer sets it.
class X10FileTransfer : public cMIDIPort {
  public:
    X10FileTransfer() = default;
    X10FileTransfer(const X10FileTransfer&) = delete;
    X10FileTransfer& operator=(const X10FileTransfer&) = delete;
    ~X10FileTransfer();

    void SetMidiInPort(int32_t PortNum) { iMidiInPort = PortNum; }
    void SetMidiOutPort(int32_t PortNum) { iMidiOutPort = PortNum; }
    void SetTimeout(int32_t iTO) { uiTimeOut = static_cast<uint32_t>(iTO); }
    // Blind mode: how many steps after the end-of-file message the input stays open, so that a
    // CANCEL of the last packets is still seen. The output closes once that message is sent.
    void SetListenSteps(uint32_t uiSteps) { uiListenSteps = uiSteps; }
    void SetX10FilePath(const std::filesystem::path& FilePath) { wszTransferFilePath = FilePath; }

    void ResetStateMachine();
    void X10StateMachine();
    // Ends the send: closes the file and whichever ports are open; the state stays.
    void EndX10Send();

    const tX10Failure& GetFailure() const { return Failure; }
    uint8_t GetHandShakeChar() const { return ucRxHandShake; }
    uint8_t GetPacketNum() const { return ucRxPacketNum; }
    bool GetIsDataToView() const { return bIsDataToView; }

    void GetStateText(char* TextBuffer, int32_t iBufSize) const;
    void GetHandShakeText(char* TextBuffer, int32_t iBufSize) const;
    void GetCancelReason(char* TextBuffer, int32_t iBufSize) const;
    void GetPortText(char* TextBuffer, int32_t iBufSize) const;

    bool bBlindTransfer = false;
    uint32_t uiMidiInNumberOfBuffers = 0;
    uint32_t uiMidiInBlockSize = 0;

  private:
    void OpenPortsAndFile();
    bool LoadX10FileForTransfer();
    void CloseTransferFile();
    void DiscardStaleInput();
    void BuildNextMessage();
    void SendAndWait(tX10State eAfterSend);
    void WaitForHandshake(bool bFirstWait);
    void CountSilentStep(bool bFirstWait);
    bool ListenAfterEndOfFile();
    void ListenForDeviceEnd();
    void EndedEarly(int32_t iAnsweredPacket);
    int32_t DataPacketCount() const { return iPacketTotal - 2; }
    int32_t LatestPacketNumbered(uint8_t ucNumber) const;
    bool HasInput() const;
    // A lost input device ends the transfer at once, rather than by the time-out.
    bool InputLost();
    void Fail(MMRESULT eResult, bool bOutputPort);
    void GetMIDIInData();
    bool ParseSysex();
    bool SwitchHandshake();
    bool IsDoubledReply() const;
    bool ReplyMatchesPacket() const;
    uint64_t TimeOutLimit() const;

    int32_t iMidiInPort = 0;
    int32_t iMidiOutPort = 0;
    uint8_t ucHandShake = 0;
    bool bLastPacket = false;
    std::filesystem::path wszTransferFilePath;
    cReadFile hTransferFile;
    uint32_t uiTimeOutCount = 0;
    uint8_t ucRxHandShake = 0;
    uint8_t ucRxPacketNum = 0;
    int32_t iRxByte = 0;
    std::vector<uint8_t> pRxData;
    size_t uiRxParsed = 0;  // bytes of pRxData already parsed; the rest waits for the next step
    int32_t iParseStep = 0;
    bool bIsDataToView = false;
    uint32_t uiTimeOut = 0;
    bool bDeviceWaiting = false;  // a WAIT came, and no other reply since
    uint32_t uiListenSteps = 0;
    uint32_t uiListenStepsLeft = 0;
    // Wire numbers of the message built last and of the one built before it, across songs; -1
    // before the first. A reply carrying the earlier one answers that message, not this one.
    int32_t iCurrentMessageNumber = -1;
    int32_t iPreviousMessageNumber = -1;
    tX10Failure Failure;
};

// The one transfer object of the program.
extern X10FileTransfer x10fer;
