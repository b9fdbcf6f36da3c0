#include <gtest/gtest.h>

#include "DeviceDriver.h"
#include "TempDir.h"

namespace {

using FileDump::Bytes;
using Lines = std::vector<std::string>;

// A row of a fault table: a song of uiFileSize bytes sent whole against a device with Options.
tFaultCase Fault(const char* szWhat, tTavDeviceOptions Options, size_t uiFileSize, Lines Replies,
                 std::string Verdict, bool bStored = true) {
    return {szWhat, Options, uiFileSize, {std::move(Replies), std::move(Verdict), bStored}};
}

// A row of a storm table: a song of three data packets, its faults scripted.
tFaultCase Storm(const char* szWhat, std::map<uint64_t, tFaultKind> Script, Lines Replies,
                 std::string Verdict, bool bStored = true, tTavDeviceOptions Options = {}) {
    return {szWhat, Options, 300, {std::move(Replies), std::move(Verdict), bStored}, Script};
}

}  // namespace

TEST(TavDeviceFault, each_fault_option_shapes_the_replies_as_asked) {
    const tFaultCase aCases[] = {
        Fault("blind", {.bBlind = true}, 300, {}, "bytes 300, data packets 3, resends 0: ok"),
        Fault("NAK every 3rd data packet", {.uiNakEvery = 3}, 1000,
              {"ACK 0", "ACK 1", "ACK 2", "NAK 3", "ACK 3", "ACK 4", "ACK 5", "NAK 6", "ACK 6",
               "ACK 7", "ACK 8", "NAK 9", "ACK 9"},
              "bytes 1000, data packets 9, resends 3: ok"),
        Fault("cancel at data packet 2", {.iCancelAt = 2, .ucCancelReason = 4}, 1000,
              {"ACK 0", "ACK 1", "CANCEL 4"},
              "bytes 112, data packets 1, resends 0: cancelled at data packet 2 with reason 4",
              false),
        Fault("cancel at the header", {.iCancelAt = 0, .ucCancelReason = 2}, 1000, {"CANCEL 2"},
              "bytes 0, data packets 0, resends 0: cancelled at the header with reason 2", false),
        Fault("EOF at data packet 2: the rest of the song passes unheeded", {.EofAt = 2}, 1000,
              {"ACK 0", "ACK 1", "EOF 2"},
              "bytes 112, data packets 1, resends 0: ended with EOF at data packet 2 of 9", false),
        Fault("EOF at the last data packet: taken, and the file stored", {.EofAt = 3}, 300,
              {"ACK 0", "ACK 1", "ACK 2", "EOF 3"}, "bytes 300, data packets 3, resends 0: ok"),
        Fault("EOF at the header", {.EofAt = 0}, 1000, {"EOF 0"},
              "bytes 0, data packets 0, resends 0: ended with EOF at the header of a file of 9 "
              "data packets",
              false),
        Fault("wait at data packet 2", {.iWaitAt = 2}, 300,
              {"ACK 0", "ACK 1", "WAIT 2", "ACK 2 +200ms", "ACK 3"},
              "bytes 300, data packets 3, resends 0: ok"),
        Fault("wait at the header", {.iWaitAt = 0}, 10, {"WAIT 0", "ACK 0 +200ms", "ACK 1"},
              "bytes 10, data packets 1, resends 0: ok"),
        Fault("drop every 2nd reply", {.DropReplyEvery = 2}, 500, {"ACK 0", "ACK 2", "ACK 4"},
              "bytes 500, data packets 5, resends 0: ok"),
        Fault("delay every reply", {.iWaitAt = 1, .uiReplyDelayMs = 30}, 200,
              {"ACK 0 +30ms", "WAIT 1 +30ms", "ACK 1 +230ms", "ACK 2 +30ms"},
              "bytes 200, data packets 2, resends 0: ok"),
        Fault("acknowledge the end-of-file message", {.bAckEof = true}, 200,
              {"ACK 0", "ACK 1", "ACK 2", "ACK 3"}, "bytes 200, data packets 2, resends 0: ok"),
        Fault("wrong numbers in the ACKs", {.uiNakEvery = 2, .bWrongNumber = true}, 300,
              {"ACK 1", "ACK 2", "NAK 2", "ACK 3", "ACK 4"},
              "bytes 300, data packets 3, resends 1: ok"),
    };
    ExpectFaultCases(aCases);
}

TEST(TavDeviceFault, the_device_byte_option_changes_every_reply) {
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder, {.DeviceByte = 0x10}));
    const Bytes Header = FileDump::Header("SONG", 5);
    const tDeviceResponse Response = Device.ReceiveMessage(Header.data(), Header.size());
    ASSERT_EQ(Response.Replies.size(), 1u);
    EXPECT_EQ(Response.Replies[0].Message, (Bytes{0xF0, 0x7E, 0x10, 0x7F, 0x00, 0xF7}));
}

TEST(TavDeviceFault, after_a_cancel_a_blind_sender_is_ignored_until_its_next_song) {
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder, {.iCancelAt = 1, .ucCancelReason = 5}));
    const tTranscript Cancelled =
        Deliver(Device, FileDump::WholeFile("FIRST", FileDump::SongBytes(400)), false);
    EXPECT_EQ(Cancelled.Replies, (Lines{"ACK 0", "CANCEL 5"}));
    EXPECT_EQ(Cancelled.Lines, Lines{"file \"FIRST\": bytes 0, data packets 0, resends 0: "
                                     "cancelled at data packet 1 with reason 5"});
    // The device cancels every file at packet 1; the next header starts a new file all the same.
    const tTranscript Next = Deliver(Device, {FileDump::Header("SECOND", 3)}, false);
    EXPECT_EQ(Next.Replies, Lines{"ACK 0"});
    EXPECT_TRUE(Device.IsReceivingFile());
}

TEST(TavDeviceFault, replies_are_dropped_by_their_count_across_songs) {
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder, {.DropReplyEvery = 3}));
    const tTranscript First = Deliver(Device, FileDump::WholeFile("A", FileDump::SongBytes(100)));
    const tTranscript Second = Deliver(Device, FileDump::WholeFile("B", FileDump::SongBytes(100)));
    EXPECT_EQ(First.Replies, (Lines{"ACK 0", "ACK 1"}));
    EXPECT_EQ(Second.Replies, (Lines{"ACK 1"}));  // its header's ACK is the 3rd reply
}

// The seeded fault storm, scripted: each fault on the message it strikes.

// A song of three data packets; a handshaking sender resends after a NAK and stops at a CANCEL.
// The details of each fault (delays, noise, reason) are the seed's, all within their ranges.
TEST(TavDeviceStorm, each_storm_fault_is_acted_out_on_the_message_it_strikes) {
    const tFaultCase aCases[] = {
        Storm("NAK of the header: its resend is the same file", {{0, FAULT_NAK}},
              {"NAK 0", "ACK 0", "ACK 1", "ACK 2", "ACK 3"},
              "bytes 300, data packets 3, resends 1: ok; faults: 1 NAK"),
        Storm("NAK of a data packet, not of its resend", {{2, FAULT_NAK}},
              {"ACK 0", "ACK 1", "NAK 2", "ACK 2", "ACK 3"},
              "bytes 300, data packets 3, resends 1: ok; faults: 1 NAK"),
        Storm("silence", {{1, FAULT_SILENT}}, {"ACK 0", "ACK 2", "ACK 3"},
              "bytes 300, data packets 3, resends 0: ok; faults: 1 silent"),
        Storm("WAIT, then the reply later", {{1, FAULT_WAIT}},
              {"ACK 0", "WAIT 1", "ACK 1 +150ms", "ACK 2", "ACK 3"},
              "bytes 300, data packets 3, resends 0: ok; faults: 1 WAIT"),
        Storm("late, after the reply delay of the options", {{1, FAULT_LATE}},
              {"ACK 0 +10ms", "ACK 1 +60ms", "ACK 2 +10ms", "ACK 3 +10ms"},
              "bytes 300, data packets 3, resends 0: ok; faults: 1 late", true,
              {.uiReplyDelayMs = 10}),
        Storm("twice", {{1, FAULT_TWICE}}, {"ACK 0", "ACK 1", "ACK 1", "ACK 2", "ACK 3"},
              "bytes 300, data packets 3, resends 0: ok; faults: 1 twice"),
        Storm("the number before, 127 for the header",
              {{0, FAULT_NUMBER_BEFORE}, {2, FAULT_NUMBER_BEFORE}},
              {"ACK 127", "ACK 1", "ACK 1", "ACK 3"},
              "bytes 300, data packets 3, resends 0: ok; faults: 2 number before"),
        Storm("noise before the reply", {{1, FAULT_NOISE}},
              {"ACK 0", "bytes 3C AB", "ACK 1", "ACK 2", "ACK 3"},
              "bytes 300, data packets 3, resends 0: ok; faults: 1 noise"),
        Storm("a lost data packet: the next is out of sequence", {{2, FAULT_LOST}},
              {"ACK 0", "ACK 1", "CANCEL 4"},
              "bytes 112, data packets 1, resends 0: out of sequence: packet number 3 where 2 was "
              "expected; faults: 1 lost",
              false),
        Storm("CANCEL", {{2, FAULT_CANCEL}}, {"ACK 0", "ACK 1", "CANCEL 2"},
              "bytes 112, data packets 1, resends 0: cancelled at data packet 2 with reason 2; "
              "faults: 1 CANCEL",
              false),
        Storm("EOF: the rest of the song passes unheeded", {{2, FAULT_EOF}},
              {"ACK 0", "ACK 1", "EOF 2"},
              "bytes 112, data packets 1, resends 0: ended with EOF at data packet 2 of 3; faults: "
              "1 EOF",
              false),
        Storm("under --ack-eof, a NAK of the end-of-file message", {{4, FAULT_NAK}},
              {"ACK 0", "ACK 1", "ACK 2", "ACK 3", "NAK 4", "ACK 4"},
              "bytes 300, data packets 3, resends 0: ok; faults: 1 NAK", true, {.bAckEof = true}),
        Storm("a fault option comes first: its packet is not asked about", {{1, FAULT_SILENT}},
              {"ACK 0", "WAIT 1", "ACK 1 +200ms", "ACK 3"},
              "bytes 300, data packets 3, resends 0: ok; faults: 1 silent", true, {.iWaitAt = 1}),
    };
    ExpectFaultCases(aCases);
}

// A lost header has no file to count on: the totals still count it.
TEST(TavDeviceStorm, the_totals_count_every_fault_acted_out) {
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder),
                      cFaultStorm::Scripted({{0, FAULT_LOST}, {1, FAULT_NAK}, {2, FAULT_LATE}}));
    // The sender hears nothing after the lost header and starts the song again.
    std::vector<Bytes> Messages = FileDump::WholeFile("SONG", FileDump::SongBytes(5));
    Messages.insert(Messages.begin(), Messages.front());
    const tTranscript Transcript = Deliver(Device, Messages);
    EXPECT_EQ(Transcript.Replies, (Lines{"NAK 0", "ACK 0", "ACK 1 +222ms"}));
    EXPECT_EQ(Transcript.Lines, Lines{"file \"SONG\": bytes 5, data packets 1, resends 1: ok; "
                                      "faults: 1 NAK, 1 late"});
    EXPECT_EQ(Device.SwitchOff().ReportLines, Lines{"faults acted out: 1 NAK, 1 late, 1 lost"});
}
