#include <gtest/gtest.h>

#include "DeviceDriver.h"
#include "TempDir.h"
#include "emulator/HexText.h"

namespace {

using FileDump::Bytes;
using Lines = std::vector<std::string>;

const Bytes kSong = FileDump::SongBytes(300);  // three data packets

Bytes Packet(uint32_t uiIndex) {
    return FileDump::DataPacket(uiIndex, FileDump::PacketData(kSong, uiIndex));
}

Bytes WithByte(Bytes Message, size_t uiOffset, uint8_t ucValue, bool bSeal) {
    Message[uiOffset] = ucValue;
    if (bSeal) {
        FileDump::Seal(Message);
    }
    return Message;
}

// A data packet whose encoded bytes are given as they are, count byte and checksum made right.
Bytes RawPacket(uint8_t ucNumber, const Bytes& Encoded) {
    Bytes Message{0xF0, 0x7E, 0x23, 0x07, 0x02, ucNumber, static_cast<uint8_t>(Encoded.size() - 1)};
    Message.insert(Message.end(), Encoded.begin(), Encoded.end());
    Message.push_back(0);
    Message.push_back(0xF7);
    FileDump::Seal(Message);
    return Message;
}

// The report line of a song whose header was refused, its name as the report shows it.
std::string Refused(const std::string& Name, const std::string& Reason) {
    return "file \"" + Name + "\": bytes 0, data packets 0, resends 0: refused: " + Reason;
}

struct tMalformedCase {
    const char* szWhat;
    std::vector<Bytes> Messages;  // sent after a good header for kSong named SONG
    Lines Replies;                // after the header's ACK 0
    Lines ReportLines;
};

// A case whose song SONG ends with this verdict on it.
tMalformedCase Malformed(const char* szWhat, std::vector<Bytes> Messages, Lines Replies,
                         const std::string& Verdict) {
    return {szWhat, std::move(Messages), std::move(Replies), {"file \"SONG\": " + Verdict}};
}

}  // namespace

TEST(TavDeviceMalformed, each_malformed_data_packet_or_end_is_answered_and_reported) {
    Bytes BadChecksum = Packet(2);
    BadChecksum[BadChecksum.size() - 2] ^= 0x01;
    const Bytes CutPacket{0xF0, 0x7E, 0x23, 0x07, 0x02, 0x01, 0x01, 0x00, 0x00, 0xF7};
    Bytes WithoutEnd = Packet(2);
    WithoutEnd.pop_back();

    const tMalformedCase aCases[] = {
        Malformed("bad checksum, then the resend",
                  {Packet(1), BadChecksum, Packet(2), Packet(3), FileDump::EndOfFile(4)},
                  {"ACK 1", "NAK 2", "ACK 2", "ACK 3"}, "bytes 300, data packets 3, resends 1: ok"),
        Malformed("the next packet in place of the NAKed one", {Packet(1), BadChecksum, Packet(3)},
                  {"ACK 1", "NAK 2", "CANCEL 4"},
                  "bytes 112, data packets 1, resends 0: out of sequence: packet number 3 where 2 "
                  "was expected"),
        Malformed("the same packet twice",
                  {Packet(1), Packet(1), Packet(2), Packet(3), FileDump::EndOfFile(4)},
                  {"ACK 1", "ACK 1", "ACK 2", "ACK 3"}, "bytes 300, data packets 3, resends 1: ok"),
        Malformed("wrong count byte", {Packet(1), WithByte(Packet(2), 6, 0x05, true)},
                  {"ACK 1", "CANCEL 4"},
                  "bytes 112, data packets 1, resends 0: bad data packet 2: count byte 0x05 does "
                  "not match 128 encoded bytes"),
        Malformed("a packet whose end byte F7 never came", {Packet(1), WithoutEnd},
                  {"ACK 1", "CANCEL 4"},
                  "bytes 112, data packets 1, resends 0: bad data packet 2: cut short: the end "
                  "byte F7 never came after 136 bytes"),
        Malformed("bit 7 set in a data byte", {WithByte(Packet(1), 9, 0x90, false)}, {"CANCEL 4"},
                  "bytes 0, data packets 0, resends 0: bad data packet 1: byte 0x90 at offset 9 "
                  "has bit 7 set"),
        Malformed("packet 3 where 2 was expected", {Packet(1), Packet(3)}, {"ACK 1", "CANCEL 4"},
                  "bytes 112, data packets 1, resends 0: out of sequence: packet number 3 where 2 "
                  "was expected"),
        Malformed("a packet too short to hold data", {CutPacket}, {"CANCEL 4"},
                  "bytes 0, data packets 0, resends 0: bad data packet 1: data packet of 10 bytes "
                  "(11 to 137 allowed)"),
        Malformed("a high-bits byte with nothing after it",
                  {RawPacket(1, {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x00})},
                  {"CANCEL 4"},
                  "bytes 0, data packets 0, resends 0: bad data packet 1: high-bits byte at the "
                  "end of the data has no bytes after it"),
        Malformed("a high bit for a byte the group lacks", {RawPacket(1, {0x01, 0x11, 0x22})},
                  {"CANCEL 4"},
                  "bytes 0, data packets 0, resends 0: bad data packet 1: high-bits byte 0x01 sets "
                  "bits for bytes that its 2-byte group lacks"),
        Malformed("more bytes than the header said",
                  {Packet(1), Packet(2), FileDump::DataPacket(3, Bytes(100, 0x20))},
                  {"ACK 1", "ACK 2", "CANCEL 4"},
                  "bytes 224, data packets 2, resends 0: too long: data packet 3 brings 324 bytes, "
                  "but the header announced 300"),
        Malformed("end of file after fewer bytes than the header said",
                  {Packet(1), Packet(2), FileDump::EndOfFile(3)}, {"ACK 1", "ACK 2"},
                  "bytes 224, data packets 2, resends 0: short: 224 of 300 bytes when the "
                  "end-of-file message came"),
        Malformed("end of file with the wrong number",
                  {Packet(1), Packet(2), Packet(3), FileDump::EndOfFile(5)},
                  {"ACK 1", "ACK 2", "ACK 3"},
                  "bytes 300, data packets 3, resends 0: end-of-file message numbered 5 where 4 "
                  "was expected"),
        Malformed("end of file of seven bytes", {{0xF0, 0x7E, 0x23, 0x7B, 0x01, 0x00, 0xF7}}, {},
                  "bytes 0, data packets 0, resends 0: bad end-of-file message: end-of-file "
                  "message of 7 bytes (6 expected)"),
    };
    for (const tMalformedCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        TempDir Folder;
        cTavDevice Device(StoringIn(Folder));
        std::vector<Bytes> Messages{FileDump::Header("SONG", static_cast<uint32_t>(kSong.size()))};
        Messages.insert(Messages.end(), Case.Messages.begin(), Case.Messages.end());
        tTranscript Transcript;
        for (const Bytes& Message : Messages) {
            Record(Device.ReceiveMessage(Message.data(), Message.size()), Transcript);
        }
        Lines Expected{"ACK 0"};
        Expected.insert(Expected.end(), Case.Replies.begin(), Case.Replies.end());
        EXPECT_EQ(Transcript.Replies, Expected);
        EXPECT_EQ(Transcript.Lines, Case.ReportLines);
        const bool bOk = Case.ReportLines.back().ends_with(": ok");
        EXPECT_EQ(std::filesystem::exists(Folder / "SONG.x10"), bOk);
        if (bOk) {
            EXPECT_EQ(ReadAll(Folder / "SONG.x10"), kSong);
        }
    }
}

TEST(TavDeviceMalformed, a_header_that_cannot_start_a_song_is_refused_with_its_reason) {
    struct tHeaderCase {
        const char* szWhat;
        Bytes Header;
        std::string Reply;
        std::string Line;
    };
    const tHeaderCase aCases[] = {
        {"type other than MIDI", FileDump::Header("SONG", 10, "MIDX"), "CANCEL 1",
         Refused("SONG", "type \"MIDX\" is not \"MIDI\"")},
        {"a file of 0 bytes", FileDump::Header("SONG", 0), "CANCEL 1",
         Refused("SONG", "the header announces a file of 0 bytes")},
        {"no name", FileDump::Header("", 10), "CANCEL 3", Refused("", "the song name is empty")},
        {"name of 13 characters", FileDump::Header("ABCDEFGHIJKLM", 10), "CANCEL 3",
         Refused("ABCDEFGHIJKLM", "the song name has 13 characters (at most 12)")},
        {"name with a path separator", FileDump::Header("../x", 10), "CANCEL 3",
         Refused("../x", "the song name holds the byte 0x2F, which cannot be part of a file name")},
        {"name with a control character", FileDump::Header("A\tB", 10), "CANCEL 3",
         Refused("A\\x09B",
                 "the song name holds the byte 0x09, which cannot be part of a file name")},
        {"bit 7 set in the length", WithByte(FileDump::Header("SONG", 10), 11, 0x81, false),
         "CANCEL 1", Refused("SONG", "byte 0x81 at offset 11 has bit 7 set")},
        {"header cut short",
         {0xF0, 0x7E, 0x23, 0x07, 0x01, 0x00, 0x4D, 0x49, 0xF7},
         "CANCEL 1",
         Refused("", "header of 9 bytes is too short")},
    };
    for (const tHeaderCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        TempDir Folder;
        cTavDevice Device(StoringIn(Folder));
        const tTranscript Transcript = Deliver(Device, {Case.Header});
        EXPECT_EQ(Transcript.Replies, Lines{Case.Reply});
        EXPECT_EQ(Transcript.Lines, Lines{Case.Line});
        // The rest of the refused song passes without a word; nothing is stored.
        const tTranscript Rest = Deliver(Device, {Packet(1), FileDump::EndOfFile(2)}, false);
        EXPECT_TRUE(Rest.Replies.empty());
        EXPECT_TRUE(Rest.Lines.empty());
        EXPECT_TRUE(std::filesystem::is_empty(Folder.path()));
    }
}

TEST(TavDeviceMalformed, messages_not_for_the_device_are_ignored_and_reported) {
    struct tForeignCase {
        const char* szWhat;
        Bytes Message;
        std::string Line;
    };
    const tForeignCase aCases[] = {
        {"note on", {0x90, 0x3C, 0x7F}, "ignored: not a System Exclusive message: 90 3C 7F"},
        {"empty message", {}, "ignored: empty message"},
        {"SysEx without its end",
         {0xF0, 0x41, 0x10, 0x42},
         "ignored: System Exclusive message without its end byte F7: F0 41 10 42"},
        {"header for device 0x24", FileDump::Header("SONG", 10, "MIDI", 0x24),
         "ignored: message for device 0x24, not 0x23: F0 7E 24 07 01 00 4D 49 44 49 0A 00 00 00 "
         "53 4F ... (19 bytes)"},
        {"another maker's SysEx",
         {0xF0, 0x41, 0x10, 0x42, 0xF7},
         "ignored: System Exclusive message not for this device: F0 41 10 42 F7"},
        {"identity request",
         {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},
         "ignored: universal message not handled by this device: F0 7E 7F 06 01 F7"},
        {"a device command with another value",
         {0xF0, 0x08, 0x42, 0x53, 0x02, 0xF7},
         "ignored: unknown device command: F0 08 42 53 02 F7"},
        {"a data packet outside a file", Packet(1),
         "ignored: data packet outside a file: " + HexExcerpt(Packet(1))},
        {"an end-of-file message outside a file", FileDump::EndOfFile(1),
         "ignored: end-of-file message outside a file"},
    };
    // One device takes them all in a row, as from a busy MIDI line: none may leave a trace that
    // changes how the next is taken.
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder));
    for (const tForeignCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        const tTranscript Transcript = Deliver(Device, {Case.Message});
        EXPECT_TRUE(Transcript.Replies.empty());
        EXPECT_EQ(Transcript.Lines, Lines{Case.Line});
    }
    EXPECT_FALSE(Device.IsReceivingFile());
    EXPECT_TRUE(std::filesystem::is_empty(Folder.path()));
}

TEST(TavDeviceMalformed, stray_messages_between_packets_leave_the_song_intact) {
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder));
    const Bytes kNoteOn{0x90, 0x3C, 0x7F};
    const Bytes kForeignDevice = WithByte(Packet(2), 2, 0x24, true);
    const tTranscript Transcript =
        Deliver(Device, {FileDump::Header("SONG", 300), Packet(1), kNoteOn, kForeignDevice,
                         Packet(2), Packet(3), FileDump::EndOfFile(4)});
    EXPECT_EQ(Transcript.Replies, (Lines{"ACK 0", "ACK 1", "ACK 2", "ACK 3"}));
    ASSERT_EQ(Transcript.Lines.size(), 3u);
    EXPECT_EQ(Transcript.Lines[2], "file \"SONG\": bytes 300, data packets 3, resends 0: ok");
    EXPECT_EQ(ReadAll(Folder / "SONG.x10"), kSong);
}
