#include "transfer/FileDumpSender.h"

#include <algorithm>
#include <utility>

#include "midi/SysexBytes.h"
#include "transfer/FileDumpMessages.h"

void cFileDumpSender::Begin(std::vector<uint8_t> SongBytes, std::string SongName,
                            const tSenderSettings& SongSettings) {
    Settings = SongSettings;
    Song = std::move(SongBytes);
    Name = std::move(SongName);
    pSysexPacket.clear();
    iCurrentPacket = 0;
    iPacketTotal = FileDump::PacketTotal(static_cast<uint32_t>(Song.size()));
    eX10State = X10_READY;
    bLastPacket = false;
    uiTimeOutCount = 0;
    DeviceWaiting = false;
    ListenStepsLeft = 0;
    EndedAfter.reset();
}

// The wire number of the message about to be built (the counter's low 7 bits: 0 for the
// header) is noted before it is built; a resend builds nothing, so the numbers stay.
void cFileDumpSender::NoteMessageNumber() {
    PreviousMessageNumber = CurrentMessageNumber;
    CurrentMessageNumber = iCurrentPacket & 0x7F;
}

void cFileDumpSender::BuildSysexHeader(tHeaderType) {
    NoteMessageNumber();
    pSysexPacket = FileDump::BuildHeader(static_cast<uint32_t>(Song.size()), Name);
    eX10State = X10_SEND_HEADER;
}

int32_t cFileDumpSender::PrepareX10Packet() {
    NoteMessageNumber();
    const size_t uiStart =
        iCurrentPacket < 1 ? 0 : size_t(iCurrentPacket - 1) * FileDump::kBytesPerPacket;
    if (uiStart >= Song.size()) {
        return PrepareMIDIEOF();
    }
    const auto n =
        static_cast<int>(std::min<size_t>(Song.size() - uiStart, FileDump::kBytesPerPacket));
    pSysexPacket = FileDump::BuildDataPacket(iCurrentPacket, Song.data() + uiStart, n);
    eX10State = X10_SEND_PACKET;
    return static_cast<int32_t>(pSysexPacket.size());
}

int32_t cFileDumpSender::PrepareMIDIEOF() {
    pSysexPacket = FileDump::BuildEndOfFile(iCurrentPacket);
    eX10State = X10_SEND_LAST;
    bLastPacket = true;
    ++iCurrentPacket;
    return 0;
}

// After the end-of-file message nothing is awaited; blind, the device may still cancel.
void cFileDumpSender::Sent() {
    eX10State = bLastPacket ? X10_FINISH : X10_WAIT_ACK;
    ListenStepsLeft = Settings.ListenSteps;
}

void cFileDumpSender::BlindStep() {
    if (eX10State == X10_WAIT_ACK) {
        ++iCurrentPacket;
        eX10State = X10_PREPARE_PACKET;
    }
}

bool cFileDumpSender::ListenStep() {
    if (eX10State != X10_FINISH || ListenStepsLeft == 0) {
        return false;
    }
    --ListenStepsLeft;
    return true;
}

// The first silent step of a wait starts the count at 0; every one after it adds one.
void cFileDumpSender::SilentStep() {
    if (eX10State == X10_WAIT_ACK) {
        uiTimeOutCount = 0;
        eX10State = X10_WAIT_TIMEOUT;
    } else if (eX10State == X10_WAIT_TIMEOUT && ++uiTimeOutCount > TimeOutLimit()) {
        eX10State = X10_TIMED_OUT;
    }
}

// A device that answered WAIT is busy, not gone.
uint64_t cFileDumpSender::TimeOutLimit() const {
    return DeviceWaiting ? 10 * uint64_t{Settings.uiTimeOut} : uint64_t{Settings.uiTimeOut};
}

bool cFileDumpSender::TakeReply(uint8_t ucReply, uint8_t ucNumber) {
    if (Settings.Blind) {
        return TakeBlindReply(ucReply, ucNumber);
    }
    if ((eX10State != X10_WAIT_ACK && eX10State != X10_WAIT_TIMEOUT) ||
        IsDoubledReply(ucReply, ucNumber)) {
        return false;
    }
    ucHandShake = ucReply;
    DeviceWaiting = ucReply == HANDSHAKE_WAIT;
    switch (ucReply) {
        case HANDSHAKE_ACK:
        case HANDSHAKE_NAK:
            if (ucNumber != static_cast<uint8_t>(iCurrentPacket & 0x7F)) {
                eX10State = X10_MISMATCH;
            } else if (ucReply == HANDSHAKE_ACK) {
                ++iCurrentPacket;
                eX10State = X10_PREPARE_PACKET;
            } else {
                eX10State = X10_RESEND_PACKET;
            }
            return true;
        case HANDSHAKE_CANCEL:
            eX10State = X10_CANCELLED;
            return true;
        case HANDSHAKE_EOF:
            EndFileAt(iCurrentPacket);
            return true;
        case HANDSHAKE_WAIT:
            uiTimeOutCount = 0;
            return false;
        default:
            return false;  // unknown handshakes change nothing
    }
}

// Blind: a CANCEL while a message is out or being listened after; an EOF before the end-of-file
// message went (the device ended the file early). Every other reply passes unheeded.
bool cFileDumpSender::TakeBlindReply(uint8_t ucReply, uint8_t ucNumber) {
    if (ucReply == HANDSHAKE_CANCEL && (eX10State == X10_WAIT_ACK || eX10State == X10_FINISH)) {
        ucHandShake = HANDSHAKE_CANCEL;
        eX10State = X10_CANCELLED;
        return true;
    }
    if (ucReply == HANDSHAKE_EOF && eX10State == X10_WAIT_ACK) {
        ucHandShake = HANDSHAKE_EOF;
        EndFileAt(LatestPacketNumbered(ucNumber));
        return true;
    }
    return false;
}

// A reply carrying the number of the message sent before the awaited one answers that message
// (a doubled reply, or a slow answer to the previous song's end-of-file message), unless the
// awaited message bears the same number: then it is taken for what it looks like.
bool cFileDumpSender::IsDoubledReply(uint8_t ucReply, uint8_t ucNumber) const {
    if (ucReply != HANDSHAKE_ACK && ucReply != HANDSHAKE_NAK && ucReply != HANDSHAKE_WAIT) {
        return false;
    }
    return ucNumber == PreviousMessageNumber && ucNumber != CurrentMessageNumber;
}

// The device's EOF in reply to packet iAnsweredPacket: in reply to the last data packet or to the
// end-of-file message it ends a file the device has whole; any earlier, the device ended the file
// before it had every data packet, and the song is not on the device.
void cFileDumpSender::EndFileAt(int32_t iAnsweredPacket) {
    if (iAnsweredPacket >= DataPacketCount()) {
        eX10State = X10_FINISH;
        return;
    }
    eX10State = X10_ERROR;
    EndedAfter = iAnsweredPacket;
}

// Blind replies come late: the packet sent last whose wire number a reply carries.
int32_t cFileDumpSender::LatestPacketNumbered(uint8_t ucNumber) const {
    const int32_t iPacket = iCurrentPacket - ((iCurrentPacket - ucNumber) & 0x7F);
    return iPacket < 0 ? iCurrentPacket : iPacket;
}
