#include <gtest/gtest.h>

#include "emulator/EmulatorCommandLine.h"

TEST(EmulatorCommandLine, without_options_the_device_is_faultless_and_stores_here) {
    const tEmulatorCommandLine Parsed = ParseEmulatorCommandLine({});
    EXPECT_TRUE(Parsed.Error.empty());
    EXPECT_EQ(Parsed.Options.StoreFolder, std::filesystem::path("."));
    EXPECT_EQ(Parsed.Options.DeviceByte, 0x42);
    EXPECT_FALSE(Parsed.Options.bBlind);
    EXPECT_EQ(Parsed.Options.uiNakEvery, 0u);
    EXPECT_EQ(Parsed.Options.iCancelAt, tTavDeviceOptions::kNever);
    EXPECT_EQ(Parsed.Options.iWaitAt, tTavDeviceOptions::kNever);
    EXPECT_EQ(Parsed.Options.EofAt, tTavDeviceOptions::kNever);
    EXPECT_EQ(Parsed.Options.DropReplyEvery, 0u);
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
    EXPECT_EQ(Options.DropReplyEvery, 5u);
    EXPECT_EQ(Options.uiReplyDelayMs, 16u);
    EXPECT_TRUE(Options.bAckEof);
    EXPECT_TRUE(Options.bWrongNumber);
    EXPECT_EQ(Options.DeviceByte, 0x43);
    EXPECT_EQ(Options.EofAt, 7);
    EXPECT_FALSE(Parsed.Help);
    EXPECT_FALSE(Parsed.Version);
}

TEST(EmulatorCommandLine, the_storm_takes_its_seed_and_a_rate_in_millionths) {
    struct tCase {
        std::vector<std::string> Args;
        uint64_t uiSeed;
        uint32_t uiRate;
    };
    const tCase aCases[] = {
        {{}, 0, 0},
        {{"--chaos", "42"}, 42, 50000},
        {{"--chaos=0xFFFFFFFFFFFFFFFF", "--chaos-rate", "1"}, UINT64_MAX, 1000000},
        {{"--chaos-rate", ".000001", "--chaos", "0"}, 0, 1},
        {{"--chaos", "7", "--chaos-rate=0.25"}, 7, 250000},
    };
    for (const tCase& Case : aCases) {
        const tEmulatorCommandLine Parsed = ParseEmulatorCommandLine(Case.Args);
        ASSERT_EQ(Parsed.Error, "");
        EXPECT_EQ(Parsed.Options.StormSeed, Case.uiSeed);
        EXPECT_EQ(Parsed.Options.StormRate, Case.uiRate);
    }
}

TEST(EmulatorCommandLine, the_wire_takes_its_baud_rate_and_buffer) {
    EXPECT_EQ(ParseEmulatorCommandLine({}).Wire.BaudRate, 0u);
    const tEmulatorCommandLine Parsed =
        ParseEmulatorCommandLine({"--wire-baud", "31250", "--wire-buffer=256"});
    ASSERT_EQ(Parsed.Error, "");
    EXPECT_EQ(Parsed.Wire.BaudRate, 31250u);
    EXPECT_EQ(Parsed.Wire.BufferSize, 256u);
}

TEST(EmulatorCommandLine, help_and_version_are_recognised_in_both_spellings) {
    EXPECT_TRUE(ParseEmulatorCommandLine({"--help"}).Help);
    EXPECT_TRUE(ParseEmulatorCommandLine({"-h"}).Help);
    EXPECT_TRUE(ParseEmulatorCommandLine({"--version"}).Version);
    EXPECT_TRUE(ParseEmulatorCommandLine({"-V"}).Version);
}

TEST(EmulatorCommandLine, bad_usage_is_refused_naming_the_option_and_value) {
    struct tBadCase {
        std::vector<std::string> Args;
        std::string Error;
    };
    const std::string kRateError =
        "option '--chaos-rate' needs a fraction above 0 and at most 1 (six decimals at most), not ";
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
        {{"--chaos", "-1"}, "option '--chaos' needs an unsigned number as its seed, not '-1'"},
        {{"--chaos", "0x1FFFFFFFFFFFFFFFF"},
         "option '--chaos' needs an unsigned number as its seed, not '0x1FFFFFFFFFFFFFFFF'"},
        {{"--chaos-rate", "0.05"}, "option '--chaos-rate' needs '--chaos SEED'"},
        {{"--chaos", "1", "--chaos-rate", "0"}, kRateError + "'0'"},
        {{"--chaos", "1", "--chaos-rate", "1.01"}, kRateError + "'1.01'"},
        {{"--chaos", "1", "--chaos-rate", "0.0000001"}, kRateError + "'0.0000001'"},
        {{"--chaos", "1", "--chaos-rate", "5%"}, kRateError + "'5%'"},
        {{"--chaos", "1", "--chaos-rate", "."}, kRateError + "'.'"},
        {{"--wire-baud", "299"},
         "option '--wire-baud' needs a number from 300 to 3000000, not '299'"},
        {{"--wire-baud", "31250", "--wire-buffer", "1048577"},
         "option '--wire-buffer' needs a number from 0 to 1048576, not '1048577'"},
        {{"--wire-buffer", "64"}, "option '--wire-buffer' needs '--wire-baud B'"},
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
