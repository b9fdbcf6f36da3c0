#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "TransferFixture.h"
#include "midi/SysexBytes.h"
#include "transfer/FileDumpMessages.h"
#include "transfer/FileDumpSender.h"

namespace {

constexpr uint8_t ACK = HANDSHAKE_ACK, NAK = HANDSHAKE_NAK, CANCEL = HANDSHAKE_CANCEL,
                  WAIT = HANDSHAKE_WAIT, ENDFILE = HANDSHAKE_EOF;

}  // namespace

// The sender alone: a song goes in, replies go in, and it says what to send next.
class FileDumpSender : public ::testing::Test {
  protected:
    void Begin(size_t uiBytes, bool bBlind = false, uint32_t uiTimeOut = 1000,
               uint32_t uiListenSteps = 0) {
        Sender.Begin(SongData(uiBytes), "SONG", {bBlind, uiTimeOut, uiListenSteps});
    }
    // Builds and sends the next message (the header first); returns it.
    Bytes SendNext() {
        if (Sender.GetState() == X10_READY) {
            Sender.BuildSysexHeader(HEADER_TYPE_MIDI);
        } else if (Sender.GetState() == X10_PREPARE_PACKET) {
            Sender.PrepareX10Packet();
        }
        Bytes Message = Sender.GetSysexPacket();
        Sender.Sent();
        return Message;
    }
    tX10State Reply(uint8_t ucReply, uint8_t ucNumber) {
        Sender.TakeReply(ucReply, ucNumber);
        return Sender.GetState();
    }
    // Sends messages, each acknowledged, until message iMessage is out and awaits its reply.
    void SendUpTo(int32_t iMessage) {
        for (SendNext(); Sender.GetCurrentPacket() < iMessage; SendNext()) {
            Reply(ACK, static_cast<uint8_t>(Sender.GetCurrentPacket() & 0x7F));
        }
    }

    cFileDumpSender Sender;
};

// Each message is NAKed once first: the same bytes go again. The numbers on the wire wrap at
// 128 while the counter goes on.
TEST_F(FileDumpSender, a_song_goes_as_header_data_packets_and_end_of_file_numbered_by_the_counter) {
    for (const size_t uiBytes : {size_t{0}, size_t{3}, size_t{113}, size_t{112 * 130}}) {
        SCOPED_TRACE(uiBytes);
        Begin(uiBytes);
        const int32_t iDataPackets = static_cast<int32_t>((uiBytes + 111) / 112);
        EXPECT_EQ(Sender.GetPacketTotal(), iDataPackets + 2);
        const Bytes Data = SongData(uiBytes);
        for (int32_t k = 0; k <= iDataPackets; ++k) {
            const size_t uiStart = static_cast<size_t>(std::max(k - 1, 0)) * 112;
            const int n = static_cast<int>(std::min<size_t>(uiBytes - uiStart, 112));
            const Bytes Expected =
                k == 0 ? FileDump::BuildHeader(static_cast<uint32_t>(uiBytes), "SONG")
                       : FileDump::BuildDataPacket(k, Data.data() + uiStart, n);
            EXPECT_EQ(SendNext(), Expected);
            EXPECT_EQ(Reply(NAK, static_cast<uint8_t>(k & 0x7F)), X10_RESEND_PACKET);
            EXPECT_EQ(SendNext(), Expected);
            EXPECT_EQ(Reply(ACK, static_cast<uint8_t>(k & 0x7F)), X10_PREPARE_PACKET);
        }
        EXPECT_EQ(Sender.PrepareX10Packet(), 0);
        EXPECT_EQ(Sender.GetState(), X10_SEND_LAST);
        EXPECT_EQ(Sender.GetSysexPacket(), FileDump::BuildEndOfFile(iDataPackets + 1));
        Sender.Sent();
        EXPECT_EQ(Sender.GetState(), X10_FINISH);  // the end-of-file message is not waited on
        EXPECT_EQ(Sender.GetCurrentPacket(), iDataPackets + 2);
    }
}

// 1000 bytes make 9 data packets. Each case awaits the reply to message iAwaited (0: header).
TEST_F(FileDumpSender, each_reply_to_an_awaited_message_does_what_the_rules_say) {
    struct tCase {
        const char* szWhat;
        int32_t iAwaited;
        uint8_t ucReply;
        uint8_t ucNumber;
        tX10State eAfter;
        int32_t iCounterAfter;
        std::optional<int32_t> EndedAfter;
    };
    const tCase aCases[] = {
        {"ACK of the header moves on", 0, ACK, 0, X10_PREPARE_PACKET, 1, {}},
        {"ACK of data packet 4 moves on", 4, ACK, 4, X10_PREPARE_PACKET, 5, {}},
        {"NAK asks for the same message", 2, NAK, 2, X10_RESEND_PACKET, 2, {}},
        {"ACK of another packet is a mismatch", 0, ACK, 1, X10_MISMATCH, 0, {}},
        {"ACK of packet 127 is a mismatch", 3, ACK, 127, X10_MISMATCH, 3, {}},
        {"NAK of another packet is a mismatch", 3, NAK, 5, X10_MISMATCH, 3, {}},
        {"CANCEL ends the song", 3, CANCEL, 4, X10_CANCELLED, 3, {}},
        {"EOF at the header ends it early", 0, ENDFILE, 0, X10_ERROR, 0, 0},
        {"EOF at data packet 3 of 9 ends it early", 3, ENDFILE, 3, X10_ERROR, 3, 3},
        {"EOF at the last data packet ends it as sent", 9, ENDFILE, 9, X10_FINISH, 9, {}},
        {"WAIT keeps waiting", 3, WAIT, 3, X10_WAIT_ACK, 3, {}},
        {"an unknown handshake changes nothing", 3, 0x70, 3, X10_WAIT_ACK, 3, {}},
        {"a doubled ACK of the message before is passed over", 4, ACK, 3, X10_WAIT_ACK, 4, {}},
        {"a doubled NAK of the message before is passed over", 4, NAK, 3, X10_WAIT_ACK, 4, {}},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        Begin(1000);
        SendUpTo(Case.iAwaited);
        const uint8_t ucShownBefore = Sender.GetHandShake();
        EXPECT_EQ(Sender.TakeReply(Case.ucReply, Case.ucNumber), Case.eAfter != X10_WAIT_ACK);
        EXPECT_EQ(Sender.GetState(), Case.eAfter);
        EXPECT_EQ(Sender.GetCurrentPacket(), Case.iCounterAfter);
        EXPECT_EQ(Sender.EndedAfterPacket(), Case.EndedAfter);
        const bool bPassedOver = Case.ucNumber + 1 == Case.iAwaited;
        EXPECT_EQ(Sender.GetHandShake(), bPassedOver ? ucShownBefore : Case.ucReply);
    }
}

// The first silent step starts the count at 0, so L + 2 of them end the song; after a WAIT the
// device has 10 L + 1, until any other reply.
TEST_F(FileDumpSender, silence_ends_the_song_after_the_time_out_and_a_wait_gives_ten_times_it) {
    struct tCase {
        uint32_t uiLimit;
        int iSilentBeforeWait;  // -1: no WAIT
        int iSilentToEnd;       // after the WAIT, if any
    };
    const tCase aCases[] = {{0, -1, 2}, {1, -1, 3}, {5, -1, 7}, {3, 2, 31}, {3, 0, 32}};
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(testing::Message() << Case.uiLimit << " / " << Case.iSilentBeforeWait);
        Begin(200, false, Case.uiLimit);
        SendUpTo(1);
        for (int i = 0; i < Case.iSilentBeforeWait; ++i) {
            Sender.SilentStep();
        }
        if (Case.iSilentBeforeWait >= 0) {
            EXPECT_EQ(Reply(WAIT, 1), Case.iSilentBeforeWait > 0 ? X10_WAIT_TIMEOUT : X10_WAIT_ACK);
        }
        for (int i = 1; i < Case.iSilentToEnd; ++i) {
            Sender.SilentStep();
            ASSERT_NE(Sender.GetState(), X10_TIMED_OUT) << "silent step " << i;
        }
        Sender.SilentStep();
        EXPECT_EQ(Sender.GetState(), X10_TIMED_OUT);
    }
    Begin(200, false, 3);  // the next message is awaited with the plain time-out again
    SendNext();
    Reply(WAIT, 0);
    Reply(ACK, 0);
    SendNext();
    for (int i = 0; i < 5; ++i) {
        Sender.SilentStep();
    }
    EXPECT_EQ(Sender.GetState(), X10_TIMED_OUT);
}

// 1000 bytes: 9 data packets. Blind, a message is out after each BlindStep.
TEST_F(FileDumpSender, blind_only_a_cancel_or_an_early_eof_is_heeded) {
    struct tCase {
        const char* szWhat;
        int32_t iAfterMessage;  // the reply comes once this message is out (10: end of file)
        uint8_t ucReply;
        uint8_t ucNumber;
        tX10State eAfter;
        std::optional<int32_t> EndedAfter;
    };
    const tCase aCases[] = {
        {"ACK", 3, ACK, 5, X10_WAIT_ACK, {}},
        {"NAK", 3, NAK, 3, X10_WAIT_ACK, {}},
        {"WAIT", 3, WAIT, 3, X10_WAIT_ACK, {}},
        {"CANCEL", 3, CANCEL, 4, X10_CANCELLED, {}},
        {"a late EOF names the packet sent last with its number", 5, ENDFILE, 3, X10_ERROR, 3},
        {"EOF to the last data packet: the device has the file whole",
         9,
         ENDFILE,
         9,
         X10_FINISH,
         {}},
        {"EOF after the end-of-file message", 10, ENDFILE, 10, X10_FINISH, {}},
        {"CANCEL after the end-of-file message", 10, CANCEL, 1, X10_CANCELLED, {}},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        Begin(1000, true, 1000, 2);
        for (SendNext(); Sender.GetCurrentPacket() < Case.iAfterMessage; SendNext()) {
            Sender.BlindStep();
        }
        EXPECT_EQ(Reply(Case.ucReply, Case.ucNumber), Case.eAfter);
        EXPECT_EQ(Sender.EndedAfterPacket(), Case.EndedAfter);
    }
}

// The numbers of the last two messages carry over from one song to the next.
TEST_F(FileDumpSender, a_slow_reply_to_the_song_before_is_not_taken_for_the_next_header) {
    struct tCase {
        const char* szWhat;
        size_t uiFirstSongBytes;
        uint8_t ucSlowNumber;  // the slow ACK of the first song's end-of-file message
        tX10State eAfter;
    };
    const tCase aCases[] = {
        {"its end-of-file message was number 2", 112, 2, X10_WAIT_ACK},
        {"after 127 data packets it was number 0, as the header's reply: taken", 127 * 112, 0,
         X10_PREPARE_PACKET},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        Begin(Case.uiFirstSongBytes);
        SendUpTo(FileDump::PacketTotal(static_cast<uint32_t>(Case.uiFirstSongBytes)) - 1);
        ASSERT_EQ(Sender.GetState(), X10_FINISH);
        Begin(500);
        SendNext();
        EXPECT_EQ(Reply(ACK, Case.ucSlowNumber), Case.eAfter);
    }
}
