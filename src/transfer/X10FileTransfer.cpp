#include "transfer/X10FileTransfer.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>

#include "files/FileAccess.h"
#include "midi/SysexBytes.h"
#include "transfer/StatusTexts.h"

X10FileTransfer x10fer;

namespace {

// A header's length field holds 28 bits.
constexpr uintmax_t kLargestSongFile = (uintmax_t{1} << 28) - 1;

bool IsReplyDeviceByte(int32_t iByte) {
    return iByte == 0x42 || iByte == 0x43 || iByte == 0x00;
}

}  // namespace

void X10FileTransfer::ResetStateMachine() {
    eX10State = X10_PORT_CLOSED;
    Failure = {};
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
            Sender.BuildSysexHeader(HEADER_TYPE_MIDI);
            FollowSender();
            break;
        case X10_PREPARE_PACKET:
            PreparePacket();
            break;
        case X10_SEND_HEADER:
        case X10_SEND_PACKET:
        case X10_SEND_LAST:
            SendMessage();
            break;
        case X10_RESEND_PACKET:
            eX10State = X10_SEND_PACKET;  // the next step sends the same message again
            break;
        case X10_WAIT_ACK:
        case X10_WAIT_TIMEOUT:
            if (!bBlindTransfer) {
                WaitForHandshake();
                break;
            }
            ListenForDeviceEnd();
            if (eX10State == X10_WAIT_ACK) {
                Sender.BlindStep();
                FollowSender();
            }
            break;
        case X10_FINISH:
            // Blind: nothing more is sent for this song, but a CANCEL of its last packets may
            // still come while the listening steps last.
            if (bBlindTransfer) {
                if (GetOutPortState() == MIDI_OUT_READY) {
                    cMIDIOutPort::ClosePort();
                }
                ListenForDeviceEnd();
                if (eX10State != X10_FINISH || Sender.ListenStep()) {
                    break;
                }
            }
            EndX10Send();
            eX10State = X10_DONE;
            break;
        case X10_CANCELLED:
        case X10_TIMED_OUT:
            EndX10Send();
            break;
        case X10_ERROR:
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
    ParsedBytes = pRxData.size();
    iParseStep = 0;
}

// The song file is read whole at once: it is small (a header cannot announce more than 2^28
// bytes), every packet and resend is then cut from the same bytes, and a file that changes
// during the send cannot make its packets disagree with the size its header announced. It is
// opened so that no open can block (a FIFO at its name would hold the send for ever, past any
// Ctrl-C), and anything but a regular file is refused with the reason.
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
    std::vector<uint8_t> Song(static_cast<size_t>(File.Size()));
    errno = 0;
    const size_t uiRead = std::fread(Song.data(), 1, Song.size(), File.File());
    if (uiRead != Song.size()) {
        Failure.FileProblem = std::ferror(File.File()) != 0
                                  ? SystemErrorText(errno != 0 ? errno : EIO)
                                  : "the file ended after " + std::to_string(uiRead) + " of " +
                                        std::to_string(Song.size()) + " bytes";
        return false;
    }
    Sender.Begin(std::move(Song), pFileName, {bBlindTransfer, uiTimeOut, ListenSteps});
    return true;
}

void X10FileTransfer::PreparePacket() {
    Sender.PrepareX10Packet();
    FollowSender();
}

// A send that is refused, or that the output port fails, leaves X10_ERROR.
void X10FileTransfer::SendMessage() {
    if (SendSysexPkt()) {
        Sender.Sent();
        FollowSender();
    } else {
        Fail(eSendResult, true);
    }
}

// Takes the sender's state; a song it ended goes no further, and its ports close.
void X10FileTransfer::FollowSender() {
    eX10State = Sender.GetState();
    if (eX10State == X10_ERROR) {
        Fail(MMSYSERR_NOERROR, true);
        Failure.bEndedEarly = true;
        Failure.iEndedAfterPacket = Sender.EndedAfterPacket().value_or(0);
        Failure.iDataPackets = Sender.DataPacketCount();
    }
    if (eX10State == X10_ERROR || eX10State == X10_CANCELLED || eX10State == X10_MISMATCH ||
        eX10State == X10_TIMED_OUT) {
        EndX10Send();
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

// Every complete reply of the input is handed to the sender, in order, until one moves the song
// on; the replies after it stay for the next step. A step that finds no input at all is silent.
void X10FileTransfer::WaitForHandshake() {
    if (InputLost()) {
        return;
    }
    if (!HasInput()) {
        Sender.SilentStep();
        FollowSender();
        return;
    }
    ListenForDeviceEnd();
    if (AckPaced && eX10State == X10_PREPARE_PACKET) {
        PreparePacket();
        SendMessage();
    }
}

// The replies of the input, for the sender; blind, it heeds only those that end the song.
void X10FileTransfer::ListenForDeviceEnd() {
    if (InputLost() || !HasInput()) {
        return;
    }
    GetMIDIInData();
    while (ParseSysex()) {
        if (Sender.TakeReply(ucRxHandShake, ucRxPacketNum)) {
            FollowSender();
            return;
        }
    }
}

bool X10FileTransfer::HasInput() const {
    return ParsedBytes < pRxData.size() || GetStorageSize() > 0;
}

bool X10FileTransfer::InputWaiting() const {
    return HasInput() || GetInPortLoss() != MMSYSERR_NOERROR;
}

void X10FileTransfer::EndX10Send() {
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
    pRxData.erase(pRxData.begin(), pRxData.begin() + static_cast<std::ptrdiff_t>(ParsedBytes));
    ParsedBytes = 0;
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
    while (ParsedBytes < pRxData.size()) {
        const uint8_t ucByte = pRxData[ParsedBytes++];
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

void X10FileTransfer::GetStateText(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::StateText(eX10State, Sender.GetCurrentPacket(), Sender.GetPacketTotal(),
                           TextBuffer, iBufSize);
}

void X10FileTransfer::GetHandShakeText(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::HandShakeText(Sender.GetHandShake(), GetPacketNum(), TextBuffer, iBufSize);
}

void X10FileTransfer::GetCancelReason(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::CancelReason(GetPacketNum(), TextBuffer, iBufSize);
}

void X10FileTransfer::GetPortText(char* TextBuffer, int32_t iBufSize) const {
    StatusTexts::PortText(pRxData.data(), static_cast<uint32_t>(pRxData.size()), TextBuffer,
                          iBufSize);
}
