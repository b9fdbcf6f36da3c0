#include <gtest/gtest.h>

#include "DeviceDriver.h"
#include "TempDir.h"

TEST(DeviceCommand, unlock_and_lock_halves_are_each_reported_without_a_reply) {
    struct tCommandCase {
        FileDump::Bytes Message;
        std::string Line;
    };
    const tCommandCase aCases[] = {
        {{0xF0, 0x08, 0x42, 0x53, 0x01, 0xF7}, "command: unlock default songs (1 of 2)"},
        {{0xF0, 0x08, 0x43, 0x53, 0x01, 0xF7}, "command: unlock default songs (2 of 2)"},
        {{0xF0, 0x08, 0x42, 0x53, 0x00, 0xF7}, "command: lock default songs (1 of 2)"},
        {{0xF0, 0x08, 0x43, 0x53, 0x00, 0xF7}, "command: lock default songs (2 of 2)"},
        {{0xF0, 0x08, 0x44, 0x53, 0x01, 0xF7},
         "ignored: unknown device command: F0 08 44 53 01 F7"},
        {{0xF0, 0x08, 0x42, 0x53, 0x01, 0x00, 0xF7},
         "ignored: unknown device command: F0 08 42 53 01 00 F7"},
    };
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder));
    for (const tCommandCase& Case : aCases) {
        SCOPED_TRACE(Case.Line);
        const tDeviceResponse Response =
            Device.ReceiveMessage(Case.Message.data(), Case.Message.size());
        EXPECT_TRUE(Response.Replies.empty());
        EXPECT_EQ(Response.ReportLines, std::vector<std::string>{Case.Line});
    }
}

TEST(DeviceCommand, a_command_in_the_middle_of_a_song_does_not_disturb_it) {
    TempDir Folder;
    cTavDevice Device(StoringIn(Folder));
    const FileDump::Bytes Song = FileDump::SongBytes(150);
    std::vector<FileDump::Bytes> Messages = FileDump::WholeFile("SONG", Song);
    Messages.insert(Messages.begin() + 2, {0xF0, 0x08, 0x42, 0x53, 0x01, 0xF7});
    const tTranscript Transcript = Deliver(Device, Messages);
    EXPECT_EQ(Transcript.Lines, (std::vector<std::string>{
                                    "command: unlock default songs (1 of 2)",
                                    "file \"SONG\": bytes 150, data packets 2, resends 0: ok"}));
    EXPECT_EQ(ReadAll(Folder / "SONG.x10"), Song);
}
