#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "transfer/X10State.h"

// The kind of file a File Dump header announces.
enum tHeaderType : int32_t {
    HEADER_TYPE_MIDI = 1,
};

// How one song is sent: with handshakes or blind, the silent steps a reply may take, and (blind)
// the steps after the end-of-file message in which the device may still cancel.
struct tSenderSettings {
    bool Blind = false;
    uint32_t uiTimeOut = 0;
    uint32_t ListenSteps = 0;
};

// The sender's side of the File Dump protocol for one song at a time, without port, file or
// clock: the song's bytes go in, the replies go in as they arrive, and it says which message is
// to be sent next and what state the song is in. The state is that of X10_READY to X10_FINISH
// and the stop states; the driver builds (X10_READY, X10_PREPARE_PACKET), sends (X10_SEND_*,
// X10_RESEND_PACKET), and in the waits hands over each reply or tells of a silent step.
//
// Packet counter: 0 while the header is built and sent, k for data packet k, D + 1 while the
// end-of-file message is built, D + 2 afterwards. Its low 7 bits are the packet number on the
// wire.
//
// Replies, with handshakes: ACK moves on to the next message, NAK sends the same bytes again,
// both only when they carry the number of the message awaited (else X10_MISMATCH); CANCEL ends
// the song; WAIT gives the device ten times the time-out; the device's EOF ends the song, as
// sent once every data packet was answered and as an early end before that. A reply that
// carries the number of the message before the awaited one answers that one and is passed over.
// Blind, only a CANCEL (until the listening steps after the end-of-file message are over) and an
// EOF that comes before the end-of-file message went are acted on.
class cFileDumpSender {
  public:
    // Starts a song: its bytes (at most 2^28 - 1, what a header can announce) and the name its
    // header carries. The handshake last acted on, and the numbers of the last two messages,
    // carry over from the song before.
    void Begin(std::vector<uint8_t> Song, std::string Name, const tSenderSettings& Settings);

    // In X10_READY: builds the header.
    void BuildSysexHeader(tHeaderType thtType);
    // In X10_PREPARE_PACKET: builds the next data packet and returns its length; after the last
    // one builds the end-of-file message instead and returns 0.
    int32_t PrepareX10Packet();
    // The message built last: the one to send, or to send again after a NAK.
    const std::vector<uint8_t>& GetSysexPacket() const { return pSysexPacket; }
    // The built message went.
    void Sent();

    // A reply, as it arrived; true when it moved the song on or ended it. Replies that come
    // after that one belong to the next wait.
    bool TakeReply(uint8_t ucReply, uint8_t ucNumber);
    // A step of a wait that found no input at all.
    void SilentStep();
    // Blind, a step after a message went: on to the next one.
    void BlindStep();
    // Blind, a step after the end-of-file message went; true while listening goes on.
    bool ListenStep();

    tX10State GetState() const { return eX10State; }
    int32_t GetCurrentPacket() const { return iCurrentPacket; }
    int32_t GetPacketTotal() const { return iPacketTotal; }
    int32_t DataPacketCount() const { return iPacketTotal - 2; }
    // The handshake byte last acted on: 0 before the first.
    uint8_t GetHandShake() const { return ucHandShake; }
    // After the device's EOF before its time: the last packet it had answered (0: the header).
    std::optional<int32_t> EndedAfterPacket() const { return EndedAfter; }

  private:
    void NoteMessageNumber();
    int32_t PrepareMIDIEOF();
    bool TakeBlindReply(uint8_t ucReply, uint8_t ucNumber);
    bool IsDoubledReply(uint8_t ucReply, uint8_t ucNumber) const;
    void EndFileAt(int32_t iAnsweredPacket);
    int32_t LatestPacketNumbered(uint8_t ucNumber) const;
    uint64_t TimeOutLimit() const;

    tSenderSettings Settings;
    std::vector<uint8_t> Song;
    std::string Name;
    std::vector<uint8_t> pSysexPacket;
    int32_t iCurrentPacket = 0;
    int32_t iPacketTotal = 0;
    tX10State eX10State = X10_READY;
    bool bLastPacket = false;  // the end-of-file message is built
    uint8_t ucHandShake = 0;
    uint32_t uiTimeOutCount = 0;
    bool DeviceWaiting = false;  // a WAIT came, and no other reply since
    uint32_t ListenStepsLeft = 0;
    std::optional<int32_t> EndedAfter;
    // Wire numbers of the message built last and of the one built before it, across songs; -1
    // before the first. A reply carrying the earlier one answers that message, not this one.
    int32_t CurrentMessageNumber = -1;
    int32_t PreviousMessageNumber = -1;
};
