#include <gtest/gtest.h>

#include "DeviceDriver.h"
#include "TempDir.h"

namespace {

using FileDump::Bytes;

// The replies a faultless device gives a whole file: ACK 0 for the header, ACK k AND 0x7F for
// data packet k, nothing for the end-of-file message.
std::vector<std::string> AcksFor(uint32_t uiDataPackets) {
    std::vector<std::string> Replies;
    for (uint32_t k = 0; k <= uiDataPackets; ++k) {
        Replies.push_back("ACK " + std::to_string(k % 128));
    }
    return Replies;
}

}  // namespace

// A faultless device that stores in a folder of the test's own.
class TavDeviceTransfer : public ::testing::Test {
  protected:
    TempDir Folder;
    cTavDevice Device{StoringIn(Folder)};
};

TEST(FileDumpEncoder, builds_the_documented_header_and_data_packet) {
    EXPECT_EQ(FileDump::Header("SONG", 1000),
              (Bytes{0xF0, 0x7E, 0x23, 0x07, 0x01, 0x00, 0x4D, 0x49, 0x44, 0x49, 0x68, 0x07, 0x00,
                     0x00, 0x53, 0x4F, 0x4E, 0x47, 0xF7}));
    EXPECT_EQ(
        FileDump::DataPacket(1, {0x90, 0x3C, 0x7F}),
        (Bytes{0xF0, 0x7E, 0x23, 0x07, 0x02, 0x01, 0x03, 0x40, 0x10, 0x3C, 0x7F, 0x49, 0xF7}));
    EXPECT_EQ(FileDump::DataPacket(1, FileDump::SongBytes(112)).size(), 137u);
}

TEST_F(TavDeviceTransfer, the_documented_messages_make_a_stored_three_byte_song) {
    const std::vector<Bytes> Messages{
        {0xF0, 0x7E, 0x23, 0x07, 0x01, 0x00, 0x4D, 0x49, 0x44, 0x49, 0x03, 0x00, 0x00, 0x00, 0x53,
         0x4F, 0x4E, 0x47, 0xF7},
        {0xF0, 0x7E, 0x23, 0x07, 0x02, 0x01, 0x03, 0x40, 0x10, 0x3C, 0x7F, 0x49, 0xF7},
        {0xF0, 0x7E, 0x23, 0x7B, 0x02, 0xF7},
    };
    std::vector<Bytes> Replies;
    for (const Bytes& Message : Messages) {
        for (const tDeviceReply& Reply :
             Device.ReceiveMessage(Message.data(), Message.size()).Replies) {
            Replies.push_back(Reply.Message);
            EXPECT_EQ(Reply.DelayMs, 0u);
        }
    }
    EXPECT_EQ(Replies, (std::vector<Bytes>{{0xF0, 0x7E, 0x42, 0x7F, 0x00, 0xF7},
                                           {0xF0, 0x7E, 0x42, 0x7F, 0x01, 0xF7}}));
    EXPECT_EQ(ReadAll(Folder / "SONG.x10"), (Bytes{0x90, 0x3C, 0x7F}));
}

TEST_F(TavDeviceTransfer, files_of_every_size_are_stored_byte_for_byte) {
    struct tCase {
        size_t uiSize;
        uint32_t uiDataPackets;
    };
    // 20000 bytes take 179 data packets, so the packet numbers wrap from 127 to 0.
    const tCase aCases[] = {{1, 1}, {7, 1}, {8, 1}, {112, 1}, {113, 2}, {20000, 179}};
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.uiSize);
        TempDir Store;  // each size on a device of its own
        cTavDevice Fresh(StoringIn(Store));
        const Bytes File = FileDump::SongBytes(Case.uiSize);
        const tTranscript Transcript = Deliver(Fresh, FileDump::WholeFile("Blues Jam", File));

        EXPECT_EQ(Transcript.Replies, AcksFor(Case.uiDataPackets));
        const std::string Line = "file \"Blues Jam\": bytes " + std::to_string(Case.uiSize) +
                                 ", data packets " + std::to_string(Case.uiDataPackets) +
                                 ", resends 0: ok";
        EXPECT_EQ(Transcript.Lines, std::vector<std::string>{Line});
        EXPECT_EQ(ReadAll(Store / "Blues Jam.x10"), File);
        ASSERT_EQ(Fresh.GetFileReports().size(), 1u);
        EXPECT_TRUE(Fresh.GetFileReports()[0].bOk);
        EXPECT_EQ(Fresh.GetFileReports()[0].StoredPath, Store / "Blues Jam.x10");
        EXPECT_FALSE(Fresh.IsReceivingFile());
    }
}

TEST_F(TavDeviceTransfer, a_later_song_of_the_same_name_replaces_the_stored_one) {
    Deliver(Device, FileDump::WholeFile("INTRO", FileDump::SongBytes(300)));
    const Bytes Second(50, 0xAB);
    Deliver(Device, FileDump::WholeFile("INTRO", Second));
    EXPECT_EQ(ReadAll(Folder / "INTRO.x10"), Second);
    EXPECT_EQ(EntriesIn(Folder.path()), 1u);
}

TEST_F(TavDeviceTransfer, several_songs_in_a_row_each_get_their_line) {
    tTranscript First = Deliver(Device, FileDump::WholeFile("ONE", FileDump::SongBytes(10)));
    tTranscript Second = Deliver(Device, FileDump::WholeFile("TWO", FileDump::SongBytes(250)));
    EXPECT_EQ(First.Lines,
              std::vector<std::string>{"file \"ONE\": bytes 10, data packets 1, resends 0: ok"});
    EXPECT_EQ(Second.Lines,
              std::vector<std::string>{"file \"TWO\": bytes 250, data packets 3, resends 0: ok"});
    EXPECT_EQ(Second.Replies, AcksFor(3));
    EXPECT_EQ(ReadAll(Folder / "ONE.x10"), FileDump::SongBytes(10));
    EXPECT_EQ(ReadAll(Folder / "TWO.x10"), FileDump::SongBytes(250));
}

TEST_F(TavDeviceTransfer, a_file_cut_short_by_a_new_header_is_reported_and_not_stored) {
    const Bytes Old(20, 0x11);
    Deliver(Device, FileDump::WholeFile("SONG", Old));

    std::vector<Bytes> CutShort = FileDump::WholeFile("SONG", FileDump::SongBytes(300));
    CutShort.resize(3);  // header and two of three data packets
    const tTranscript Cut = Deliver(Device, CutShort);
    EXPECT_TRUE(Cut.Lines.empty());
    EXPECT_TRUE(Device.IsReceivingFile());

    const tTranscript Next = Deliver(Device, FileDump::WholeFile("NEXT", FileDump::SongBytes(5)));
    EXPECT_EQ(Next.Lines,
              (std::vector<std::string>{
                  "file \"SONG\": bytes 224, data packets 2, resends 0: cut short by a new header "
                  "after 224 of 300 bytes",
                  "file \"NEXT\": bytes 5, data packets 1, resends 0: ok"}));
    EXPECT_EQ(ReadAll(Folder / "SONG.x10"), Old);
    EXPECT_FALSE(std::filesystem::exists(Folder / "SONG.x10.part"));
}

TEST_F(TavDeviceTransfer, switching_off_mid_file_reports_the_file_as_cut_short) {
    std::vector<Bytes> Messages = FileDump::WholeFile("HALF", FileDump::SongBytes(200));
    Messages.pop_back();
    Deliver(Device, Messages);
    EXPECT_EQ(Device.SwitchOff().ReportLines,
              std::vector<std::string>{"file \"HALF\": bytes 200, data packets 2, resends 0: cut "
                                       "short when the emulator stopped, after 200 of 200 bytes"});
    EXPECT_TRUE(Device.SwitchOff().ReportLines.empty());
    EXPECT_FALSE(std::filesystem::exists(Folder / "HALF.x10"));
}

TEST_F(TavDeviceTransfer, a_song_that_cannot_be_written_is_reported_as_not_stored) {
    std::filesystem::create_directory(Folder / "LOCKED.x10.part");
    const tTranscript Transcript = Deliver(Device, FileDump::WholeFile("LOCKED", {1, 2, 3}));
    ASSERT_EQ(Transcript.Lines.size(), 1u);
    EXPECT_EQ(Transcript.Lines[0],
              "file \"LOCKED\": bytes 3, data packets 1, resends 0: received whole, but not "
              "stored: cannot write " +
                  (Folder / "LOCKED.x10.part").string());
    EXPECT_FALSE(Device.GetFileReports().back().bOk);
    EXPECT_FALSE(std::filesystem::exists(Folder / "LOCKED.x10"));
}
