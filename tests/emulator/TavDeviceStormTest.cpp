#include <gtest/gtest.h>

#include "DeviceDriver.h"
#include "TempDir.h"

namespace {

using FileDump::Bytes;
using Lines = std::vector<std::string>;

struct tStormCase {
    const char* szWhat;
    tTavDeviceOptions Options;
    std::map<uint64_t, tFaultKind> Script;  // by the number of the message the storm is asked about
    tSongOutcome Expected;
};

}  // namespace

// A song of three data packets; a handshaking sender resends after a NAK and stops at a CANCEL.
// The details of each fault (delays, noise, reason) are the seed's, all within their ranges.
TEST(TavDeviceStorm, each_storm_fault_is_acted_out_on_the_message_it_strikes) {
    const tStormCase aCases[] = {
        {"NAK of the header: its resend is the same file",
         {},
         {{0, FAULT_NAK}},
         {{"NAK 0", "ACK 0", "ACK 1", "ACK 2", "ACK 3"},
          "bytes 300, data packets 3, resends 1: ok; faults: 1 NAK",
          true}},
        {"NAK of a data packet, not of its resend",
         {},
         {{2, FAULT_NAK}},
         {{"ACK 0", "ACK 1", "NAK 2", "ACK 2", "ACK 3"},
          "bytes 300, data packets 3, resends 1: ok; faults: 1 NAK",
          true}},
        {"silence",
         {},
         {{1, FAULT_SILENT}},
         {{"ACK 0", "ACK 2", "ACK 3"},
          "bytes 300, data packets 3, resends 0: ok; faults: 1 silent",
          true}},
        {"WAIT, then the reply later",
         {},
         {{1, FAULT_WAIT}},
         {{"ACK 0", "WAIT 1", "ACK 1 +150ms", "ACK 2", "ACK 3"},
          "bytes 300, data packets 3, resends 0: ok; faults: 1 WAIT",
          true}},
        {"late, after the reply delay of the options",
         {.uiReplyDelayMs = 10},
         {{1, FAULT_LATE}},
         {{"ACK 0 +10ms", "ACK 1 +60ms", "ACK 2 +10ms", "ACK 3 +10ms"},
          "bytes 300, data packets 3, resends 0: ok; faults: 1 late",
          true}},
        {"twice",
         {},
         {{1, FAULT_TWICE}},
         {{"ACK 0", "ACK 1", "ACK 1", "ACK 2", "ACK 3"},
          "bytes 300, data packets 3, resends 0: ok; faults: 1 twice",
          true}},
        {"the number before, 127 for the header",
         {},
         {{0, FAULT_NUMBER_BEFORE}, {2, FAULT_NUMBER_BEFORE}},
         {{"ACK 127", "ACK 1", "ACK 1", "ACK 3"},
          "bytes 300, data packets 3, resends 0: ok; faults: 2 number before",
          true}},
        {"noise before the reply",
         {},
         {{1, FAULT_NOISE}},
         {{"ACK 0", "bytes 3C AB", "ACK 1", "ACK 2", "ACK 3"},
          "bytes 300, data packets 3, resends 0: ok; faults: 1 noise",
          true}},
        {"a lost data packet: the next is out of sequence",
         {},
         {{2, FAULT_LOST}},
         {{"ACK 0", "ACK 1", "CANCEL 4"},
          "bytes 112, data packets 1, resends 0: out of sequence: packet number 3 where 2 was "
          "expected; faults: 1 lost",
          false}},
        {"CANCEL",
         {},
         {{2, FAULT_CANCEL}},
         {{"ACK 0", "ACK 1", "CANCEL 2"},
          "bytes 112, data packets 1, resends 0: cancelled at data packet 2 with reason 2; faults: "
          "1 CANCEL",
          false}},
        {"EOF: the rest of the song passes unheeded",
         {},
         {{2, FAULT_EOF}},
         {{"ACK 0", "ACK 1", "EOF 2"},
          "bytes 112, data packets 1, resends 0: ended with EOF at data packet 2 of 3; faults: 1 "
          "EOF",
          false}},
        {"under --ack-eof, a NAK of the end-of-file message",
         {.bAckEof = true},
         {{4, FAULT_NAK}},
         {{"ACK 0", "ACK 1", "ACK 2", "ACK 3", "NAK 4", "ACK 4"},
          "bytes 300, data packets 3, resends 0: ok; faults: 1 NAK",
          true}},
        {"a fault option comes first: its packet is not asked about",
         {.iWaitAt = 1},
         {{1, FAULT_SILENT}},
         {{"ACK 0", "WAIT 1", "ACK 1 +200ms", "ACK 3"},
          "bytes 300, data packets 3, resends 0: ok; faults: 1 silent",
          true}},
    };
    const Bytes File = FileDump::SongBytes(300);
    for (const tStormCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        TempDir Folder;
        cTavDevice Device(StoringIn(Folder, Case.Options), cFaultStorm::Scripted(Case.Script));
        ExpectWholeSong(Device, Folder, File, Case.Expected);
    }
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
