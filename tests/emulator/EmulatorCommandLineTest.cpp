#include <gtest/gtest.h>

#include "emulator/EmulatorCommandLine.h"

TEST(EmulatorCommandLine, without_options_the_device_is_faultless_and_stores_here) {
    const tEmulatorCommandLine Parsed = ParseEmulatorCommandLine({});
    EXPECT_TRUE(Parsed.Error.empty());
    EXPECT_EQ(Parsed.Options.StoreFolder, std::filesystem::path("."));
    EXPECT_EQ(Parsed.Options.ucDeviceByte, 0x42);
    EXPECT_FALSE(Parsed.Options.bBlind);
    EXPECT_EQ(Parsed.Options.uiNakEvery, 0u);
    EXPECT_EQ(Parsed.Options.iCancelAt, tTavDeviceOptions::kNever);
    EXPECT_EQ(Parsed.Options.iWaitAt, tTavDeviceOptions::kNever);
    EXPECT_EQ(Parsed.Options.iEofAt, tTavDeviceOptions::kNever);
    EXPECT_EQ(Parsed.Options.uiDropReplyEvery, 0u);
    EXPECT_EQ(Parsed.Options.uiReplyDelayMs, 0u);
    EXPECT_FALSE(Parsed.Options.bAckEof);
    EXPECT_FALSE(Parsed.Options.bWrongNumber);
}

TEST(EmulatorCommandLine, every_option_reaches_the_device_options) {
    const tEmulatorCommandLine Parsed = ParseEmulatorCommandLine(
        {"--store", "/tmp/songs", "--blind", "--nak-every=3", "--cancel-at", "2", "--reason", "4",
         "--wait-at", "0", "--drop-reply-every", "5", "--reply-delay-ms", "0x10", "--ack-eof",
         "--wrong-number", "--device-byte", "0x43", "--eof-at=7"});
    ASSERT_EQ(Parsed.Error, "");
    const tTavDeviceOptions& Options = Parsed.Options;
    EXPECT_EQ(Options.StoreFolder, std::filesystem::path("/tmp/songs"));
    EXPECT_TRUE(Options.bBlind);
    EXPECT_EQ(Options.uiNakEvery, 3u);
    EXPECT_EQ(Options.iCancelAt, 2);
    EXPECT_EQ(Options.ucCancelReason, 4);
    EXPECT_EQ(Options.iWaitAt, 0);
    EXPECT_EQ(Options.uiDropReplyEvery, 5u);
    EXPECT_EQ(Options.uiReplyDelayMs, 16u);
    EXPECT_TRUE(Options.bAckEof);
    EXPECT_TRUE(Options.bWrongNumber);
    EXPECT_EQ(Options.ucDeviceByte, 0x43);
    EXPECT_EQ(Options.iEofAt, 7);
    EXPECT_FALSE(Parsed.bHelp);
    EXPECT_FALSE(Parsed.bVersion);
}

TEST(EmulatorCommandLine, help_and_version_are_recognised_in_both_spellings) {
    EXPECT_TRUE(ParseEmulatorCommandLine({"--help"}).bHelp);
    EXPECT_TRUE(ParseEmulatorCommandLine({"-h"}).bHelp);
    EXPECT_TRUE(ParseEmulatorCommandLine({"--version"}).bVersion);
    EXPECT_TRUE(ParseEmulatorCommandLine({"-V"}).bVersion);
}

TEST(EmulatorCommandLine, bad_usage_is_refused_naming_the_option_and_value) {
    struct tBadCase {
        std::vector<std::string> Args;
        std::string Error;
    };
    const tBadCase aCases[] = {
        {{"--nak-every", "0"}, "option '--nak-every' needs a number from 1 to 1000000, not '0'"},
        {{"--nak-every", "x"}, "option '--nak-every' needs a number from 1 to 1000000, not 'x'"},
        {{"--device-byte", "0x80"},
         "option '--device-byte' needs a number from 0 to 127, not '0x80'"},
        {{"--device-byte", "-1"}, "option '--device-byte' needs a number from 0 to 127, not '-1'"},
        {{"--reply-delay-ms", "60001"},
         "option '--reply-delay-ms' needs a number from 0 to 60000, not '60001'"},
        {{"--cancel-at", "2"}, "option '--cancel-at' needs '--reason R'"},
        {{"--reason", "4"}, "option '--reason' needs '--cancel-at K'"},
        {{"--cancel-at", "2", "--reason", "128"},
         "option '--reason' needs a number from 0 to 127, not '128'"},
        {{"--wait-at"}, "option '--wait-at' requires a value"},
        {{"--eof-at", "268435457"},
         "option '--eof-at' needs a number from 0 to 268435456, not '268435457'"},
        {{"--store="}, "option '--store' needs a folder"},
        {{"--blind=yes"}, "option '--blind' takes no value"},
        {{"--fast"}, "unrecognized option '--fast'"},
        {{"songs"}, "unexpected argument 'songs'"},
        {{"--drop-reply-every", "0x"},
         "option '--drop-reply-every' needs a number from 1 to 1000000, not '0x'"},
    };
    for (const tBadCase& Case : aCases) {
        SCOPED_TRACE(Case.Error);
        EXPECT_EQ(ParseEmulatorCommandLine(Case.Args).Error, Case.Error);
    }
}
