#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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
// reset for the next: it opens the ports, reads the song file whole, and drives the File Dump
// sender (which holds the protocol's rules) with the device's replies, one message or one look
// at the input per step. All pacing is counted in steps: the caller's timer sets it. Paced on
// acknowledgement, a step whose reply moves the song on also builds and sends the next message.
class X10FileTransfer : public cMIDIPort {
  public:
    X10FileTransfer() = default;
    X10FileTransfer(const X10FileTransfer&) = delete;
    X10FileTransfer& operator=(const X10FileTransfer&) = delete;
    ~X10FileTransfer() = default;

    void SetMidiInPort(int32_t PortNum) { iMidiInPort = PortNum; }
    void SetMidiOutPort(int32_t PortNum) { iMidiOutPort = PortNum; }
    void SetTimeout(int32_t iTO) { uiTimeOut = static_cast<uint32_t>(iTO); }
    // Blind mode: how many steps after the end-of-file message the input stays open, so that a
    // CANCEL of the last packets is still seen. The output closes once that message is sent.
    void SetListenSteps(uint32_t Steps) { ListenSteps = Steps; }
    void SetX10FilePath(const std::filesystem::path& FilePath) { wszTransferFilePath = FilePath; }

    void ResetStateMachine();
    void X10StateMachine();
    // Ends the send: closes whichever ports are open; the state stays.
    void EndX10Send();
    // Input is waiting for the next step: reply bytes, or the news that the input device is lost.
    bool InputWaiting() const;

    const tX10Failure& GetFailure() const { return Failure; }
    uint8_t GetHandShakeChar() const { return ucRxHandShake; }
    uint8_t GetPacketNum() const { return ucRxPacketNum; }
    bool GetIsDataToView() const { return bIsDataToView; }

    void GetStateText(char* TextBuffer, int32_t iBufSize) const;
    void GetHandShakeText(char* TextBuffer, int32_t iBufSize) const;
    void GetCancelReason(char* TextBuffer, int32_t iBufSize) const;
    void GetPortText(char* TextBuffer, int32_t iBufSize) const;

    bool bBlindTransfer = false;
    // With handshakes: the message after an acknowledged one goes in the same step.
    bool AckPaced = false;
    uint32_t uiMidiInNumberOfBuffers = 0;
    uint32_t uiMidiInBlockSize = 0;

  private:
    void OpenPortsAndFile();
    bool LoadX10FileForTransfer();
    void DiscardStaleInput();
    void PreparePacket();
    void SendMessage();
    void FollowSender();
    void WaitForHandshake();
    void ListenForDeviceEnd();
    bool HasInput() const;
    // A lost input device ends the transfer at once, rather than by the time-out.
    bool InputLost();
    void Fail(MMRESULT eResult, bool bOutputPort);
    void GetMIDIInData();
    bool ParseSysex();

    int32_t iMidiInPort = 0;
    int32_t iMidiOutPort = 0;
    std::filesystem::path wszTransferFilePath;
    uint8_t ucRxHandShake = 0;
    uint8_t ucRxPacketNum = 0;
    int32_t iRxByte = 0;
    // The last batch of input bytes, a vector.
    std::vector<uint8_t> pRxData;
    size_t ParsedBytes = 0;  // of pRxData; the rest waits for the next step
    int32_t iParseStep = 0;
    bool bIsDataToView = false;
    uint32_t uiTimeOut = 0;
    uint32_t ListenSteps = 0;
    tX10Failure Failure;
};

// The one transfer object of the program.
extern X10FileTransfer x10fer;
