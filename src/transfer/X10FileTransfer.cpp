#include "transfer/X10FileTransfer.h"

#include <cstddef>
#include <string>
#include <utility>

#include "midi/SysexBytes.h"
#include "transfer/FileDumpMessages.h"
#include "transfer/StatusTexts.h"

X10FileTransfer x10fer;

namespace {

// A header's length field holds 28 bits.
constexpr uintmax_t kLargestSongFile = (uintmax_t{1} << 28) - 1;

bool IsReplyDeviceByte(int32_t iByte) {
    return iByte == 0x42 || iByte == 0x43 || iByte == 0x00;
}

}  // namespace

X10FileTransfer::~X10FileTransfer() {
    CloseTransferFile();
}

void X10FileTransfer::ResetStateMachine() {
    eX10State = X10_PORT_CLOSED;
    Failure = {};
    bLastPacket = false;
    uiTimeOutCount = 0;
    bDeviceWaiting = false;
    CloseTransferFile();
}

void X10FileTransfer::X10StateMachine() {
    switch (eX10State) {
        case X10_PORT_CLOSED:
            OpenPortsAndFile();
            break;
        case X10_WAIT_PORTS:
            if (GetInPortState() == MIDI_IN_OPEN && GetOutPortState() == MIDI_OUT_READY) {
                eX10State = X10_READY;
            }
            break;
        case X10_READY:
            BuildNextMessage();
            eX10State = X10_SEND_HEADER;
            break;
        case X10_SEND_HEADER:
            SendAndWait(X10_WAIT_ACK);
            break;
        case X10_PREPARE_PACKET:
            BuildNextMessage();
            if (eX10State == X10_SEND_LAST) {
                bLastPacket = true;
            } else if (eX10State != X10_ERROR) {
                eX10State = X10_SEND_PACKET;
            }
            break;
        case X10_SEND_PACKET:
            SendAndWait(bLastPacket ? X10_FINISH : X10_WAIT_ACK);
            break;
        case X10_RESEND_PACKET:
            eX10State = X10_SEND_PACKET;
            break;
        case X10_WAIT_ACK:
            if (!bBlindTransfer) {
                WaitForHandshake(true);
                break;
            }
            ListenForDeviceEnd();
            if (eX10State == X10_WAIT_ACK) {
                ++iCurrentPacket;
                eX10State = X10_PREPARE_PACKET;
            }
            break;
        case X10_WAIT_TIMEOUT:
            WaitForHandshake(false);
            break;
        case X10_SEND_LAST:
            SendAndWait(X10_FINISH);
            break;
        case X10_FINISH:
            if (bBlindTransfer && ListenAfterEndOfFile()) {
                break;
            }
            EndX10Send();
            eX10State = X10_DONE;
            break;
        case X10_CANCELLED:
        case X10_TIMED_OUT:
            EndX10Send();
            break;
        case X10_ERROR:
            CloseTransferFile();
            break;
        case X10_DONE:
        case X10_MISMATCH:
            break;
    }
}

// Both ports are opened even when the first fails, as the caller's EndX10Send closes both.
void X10FileTransfer::OpenPortsAndFile() {
    DiscardStaleInput();
    uiBlockSize = uiMidiInBlockSize;
    uiNumberOfBuffers = uiMidiInNumberOfBuffers;
    const MMRESULT eInOpened = cMIDIInPort::OpenPort(static_cast<uint32_t>(iMidiInPort));
    if (eInOpened != MMSYSERR_NOERROR) {
        Fail(eInOpened, false);
    }
    const MMRESULT eOutOpened = cMIDIOutPort::OpenPort(static_cast<uint32_t>(iMidiOutPort));
    if (eOutOpened != MMSYSERR_NOERROR && eX10State != X10_ERROR) {
        Fail(eOutOpened, true);
    }
    if (eX10State == X10_ERROR) {
        EndX10Send();
        return;
    }
    if (!LoadX10FileForTransfer()) {
        EndX10Send();
        eX10State = X10_ERROR;
        return;
    }
    eX10State = X10_WAIT_PORTS;
}

// Replies still unread from the previous file answer that file, not this one: a stale ACK must
// never be taken for the new header's acknowledgement. The last batch stays for the monitor.
void X10FileTransfer::DiscardStaleInput() {
    const uint32_t uiStale = GetStorageSize();
    for (uint32_t i = 0; i < uiStale; ++i) {
        GetStoredData();
    }
    uiRxParsed = pRxData.size();
    iParseStep = 0;
}

// The file is opened so that no open can block (a FIFO at its name would hold the send for
// ever, past any Ctrl-C), and anything but a regular file is refused with the reason.
bool X10FileTransfer::LoadX10FileForTransfer() {
    cReadFile File = OpenRegularFile(wszTransferFilePath);
    if (!File) {
        Failure.FileProblem = File.FailureText();
        return false;
    }
    if (File.Size() > kLargestSongFile) {
        Failure.FileProblem = "the file is " + std::to_string(File.Size()) +
                              " bytes, more than a File Dump header can announce";
        return false;
    }
    hTransferFile = std::move(File);
    dwFileSize = static_cast<uint32_t>(hTransferFile.Size());
    iCurrentPacket = 0;
    iPacketTotal = FileDump::PacketTotal(dwFileSize);
    SetFileHandle(hTransferFile.File());
    return true;
}

void X10FileTransfer::CloseTransferFile() {
    SetFileHandle(nullptr);
    hTransferFile = cReadFile();
}

// Notes the wire number of the message about to be built (the counter's low 7 bits: 0 for the
// header) before building it; a resend after a NAK builds nothing, so the numbers stay.
void X10FileTransfer::BuildNextMessage() {
    iPreviousMessageNumber = iCurrentMessageNumber;
    iCurrentMessageNumber = iCurrentPacket & 0x7F;
    if (eX10State == X10_READY) {
        BuildSysexHeader(HEADER_TYPE_MIDI);
    } else {
        PrepareX10Packet();
    }
}

// A send that is refused, or that the output port fails, leaves X10_ERROR.
void X10FileTransfer::SendAndWait(tX10State eAfterSend) {
    if (SendSysexPkt()) {
        eX10State = eAfterSend;
        uiListenStepsLeft = uiListenSteps;
    } else {
        Fail(eSendResult, true);
    }
}

void X10FileTransfer::Fail(MMRESULT eResult, bool bOutputPort) {
    eX10State = X10_ERROR;
    Failure = {};
    Failure.eResult = eResult;
    Failure.bOutputPort = bOutputPort;
}

bool X10FileTransfer::InputLost() {
    const MMRESULT eLoss = GetInPortLoss();
    if (eLoss == MMSYSERR_NOERROR) {
        return false;
    }
    Fail(eLoss, false);
    EndX10Send();
    return true;
}

// Every complete reply of the input is acted on, in order, until one moves the transfer on;
// the replies after that one stay for the next step.
void X10FileTransfer::WaitForHandshake(bool bFirstWait) {
    if (InputLost()) {
        return;
    }
    if (!HasInput()) {
        CountSilentStep(bFirstWait);
        return;
    }
    GetMIDIInData();
    while (ParseSysex()) {
        if (SwitchHandshake()) {
            return;
        }
    }
}

// A step that finds no input at all; one that finds bytes neither adds to the count nor clears it.
void X10FileTransfer::CountSilentStep(bool bFirstWait) {
    if (bFirstWait) {
        uiTimeOutCount = 0;
        eX10State = X10_WAIT_TIMEOUT;
    } else if (++uiTimeOutCount > TimeOutLimit()) {
        EndX10Send();
        eX10State = X10_TIMED_OUT;
    }
}

// A device that answered WAIT is busy, not gone: it gets ten times the time-out.
uint64_t X10FileTransfer::TimeOutLimit() const {
    return bDeviceWaiting ? 10 * uint64_t{uiTimeOut} : uint64_t{uiTimeOut};
}

// Blind: nothing more is sent for this song, but a CANCEL of its last packets may still come.
// True while the song is not done: still listening, or ended otherwise.
bool X10FileTransfer::ListenAfterEndOfFile() {
    if (GetOutPortState() == MIDI_OUT_READY) {
        cMIDIOutPort::ClosePort();
    }
    ListenForDeviceEnd();
    if (eX10State != X10_FINISH) {  // cancelled, or the input device was lost
        return true;
    }
    if (uiListenStepsLeft == 0) {
        return false;
    }
    --uiListenStepsLeft;
    return true;
}

// Blind mode acts on a CANCEL, and on an EOF that comes before the end-of-file message has
// gone (the device ended the file early); every other reply passes unheeded.
void X10FileTransfer::ListenForDeviceEnd() {
    if (InputLost() || !HasInput()) {
        return;
    }
    GetMIDIInData();
    while (ParseSysex()) {
        if (GetHandShakeChar() == HS_CANCEL) {
            ucHandShake = HS_CANCEL;
            eX10State = X10_CANCELLED;
            EndX10Send();
            return;
        }
        if (GetHandShakeChar() == HS_EOF && !bLastPacket) {
            ucHandShake = HS_EOF;
            EndedEarly(LatestPacketNumbered(GetPacketNum()));
            return;
        }
    }
}

// The device ended the file before it had every data packet: the song is not on the device.
void X10FileTransfer::EndedEarly(int32_t iAnsweredPacket) {
    Fail(MMSYSERR_NOERROR, true);
    Failure.bEndedEarly = true;
    Failure.iEndedAfterPacket = iAnsweredPacket;
    Failure.iDataPackets = DataPacketCount();
    EndX10Send();
}

// Blind replies come late: the packet sent last whose wire number a reply carries.
int32_t X10FileTransfer::LatestPacketNumbered(uint8_t ucNumber) const {
    const int32_t iPacket = iCurrentPacket - ((iCurrentPacket - ucNumber) & 0x7F);
    return iPacket < 0 ? iCurrentPacket : iPacket;
}

bool X10FileTransfer::HasInput() const {
    return uiRxParsed < pRxData.size() || GetStorageSize() > 0;
}

void X10FileTransfer::EndX10Send() {
    CloseTransferFile();
    // A port still storing a block is closed too: its close waits for the store to finish. A
    // lost device reads as closed but is still held until it is closed here.
    if (GetInPortState() != MIDI_IN_CLOSED || GetInPortLoss() != MMSYSERR_NOERROR) {
        cMIDIInPort::ClosePort();
    }
    if (GetOutPortState() == MIDI_OUT_READY) {
        cMIDIOutPort::ClosePort();
    }
}

// The batch: the bytes the last step left unparsed, then all the input port holds now.
void X10FileTransfer::GetMIDIInData() {
    pRxData.erase(pRxData.begin(), pRxData.begin() + static_cast<std::ptrdiff_t>(uiRxParsed));
    uiRxParsed = 0;
    const size_t uiKept = pRxData.size();
    const uint32_t uiNewBytes = GetStorageSize();
    pRxData.resize(uiKept + uiNewBytes);
    for (uint32_t i = 0; i < uiNewBytes; ++i) {
        pRxData[uiKept + i] = GetStoredData();
    }
    bIsDataToView = true;
}

// Feeds the batch to the reply parser from where it stopped, so a reply split across batches is
// still found; stops after each complete reply.
bool X10FileTransfer::ParseSysex() {
    while (uiRxParsed < pRxData.size()) {
        const uint8_t ucByte = pRxData[uiRxParsed++];
        iRxByte = ucByte;
        switch (iParseStep) {
            case 0:
                iParseStep = iRxByte == kSysexStart ? 1 : 0;
                break;
            case 1:
                iParseStep = iRxByte == kNonRealTime ? 2 : 0;
                break;
            case 2:
                iParseStep = IsReplyDeviceByte(iRxByte) ? 3 : 0;
                break;
            case 3:
                ucRxHandShake = ucByte;
                iParseStep = 4;
                break;
            case 4:
                ucRxPacketNum = ucByte;
                iParseStep = 5;
                break;
            default:
                iParseStep = 0;
                if (iRxByte == kSysexEnd) {
                    return true;
                }
                break;
        }
    }
    return false;
}

// A reply carrying the number of the message sent before the awaited one answers that message
// (a doubled reply, or a slow answer to the previous song's end-of-file message), unless the
// awaited message bears the same number: then it is taken for what it looks like.
bool X10FileTransfer::IsDoubledReply() const {
    const uint8_t ucReply = GetHandShakeChar();
    if (ucReply != HS_ACK && ucReply != HS_NAK && ucReply != HS_WAIT) {
        return false;
    }
    const int32_t iNumber = GetPacketNum();
    return iNumber == iPreviousMessageNumber && iNumber != iCurrentMessageNumber;
}

// ACK and NAK carry the number of the packet they answer; any other number ends the file.
bool X10FileTransfer::ReplyMatchesPacket() const {
    return GetPacketNum() == static_cast<uint8_t>(iCurrentPacket & 0x7F);
}

// Acts on one reply; true when it moved the transfer on. WAIT gives the device more time.
bool X10FileTransfer::SwitchHandshake() {
    if (IsDoubledReply()) {
        return false;
    }
    ucHandShake = GetHandShakeChar();
    bDeviceWaiting = ucHandShake == HS_WAIT;
    switch (ucHandShake) {
        case HS_ACK:
        case HS_NAK:
            if (!ReplyMatchesPacket()) {
                eX10State = X10_MISMATCH;
                EndX10Send();
            } else if (ucHandShake == HS_ACK) {
                ++iCurrentPacket;
                eX10State = X10_PREPARE_PACKET;
            } else {
                eX10State = X10_RESEND_PACKET;
            }
            return true;
        case HS_CANCEL:
            eX10State = X10_CANCELLED;
            EndX10Send();
            return true;
        case HS_EOF:
            // Ends the file: sent once the device has answered the last data packet.
            if (iCurrentPacket >= DataPacketCount()) {
                eX10State = X10_FINISH;
            } else {
                EndedEarly(iCurrentPacket);
            }
            return true;
        case HS_WAIT:
            uiTimeOutCount = 0;
            return false;
        default:
            return false;  // unknown handshakes change nothing
    }
}

void X10FileTransfer::GetStateText(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::StateText(eX10State, iCurrentPacket, iPacketTotal, TextBuffer, iBufSize);
}

void X10FileTransfer::GetHandShakeText(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::HandShakeText(ucHandShake, GetPacketNum(), TextBuffer, iBufSize);
}

void X10FileTransfer::GetCancelReason(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::CancelReason(GetPacketNum(), TextBuffer, iBufSize);
}

void X10FileTransfer::GetPortText(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::PortText(pRxData.data(), static_cast<uint32_t>(pRxData.size()), TextBuffer,
                          iBufSize);
}
