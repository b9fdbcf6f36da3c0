#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"

TEST(CliDevices, lists_output_then_input_devices_with_their_indices) {
    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("TAV Emulator:TAV Emulator in");
    Backend.AddOutDevice("Synth with a name longer than the record holds");
    Backend.AddInDevice("TAV Emulator:TAV Emulator out");
    cScopedMidiBackend Installed(Backend);

    const tRun Result = RunCli({"devices"});
    EXPECT_EQ(Result.iStatus, 0);
    EXPECT_EQ(Result.Out,
              "MIDI output devices:\n"
              "  0  TAV Emulator:TAV Emulator in\n"
              "  1  Synth with a name longer than t\n"
              "MIDI input devices:\n"
              "  0  TAV Emulator:TAV Emulator out\n");
    EXPECT_EQ(Result.Err, "");
}

TEST(CliDevices, a_missing_kind_of_device_is_listed_as_none_with_the_main_windows_warning) {
    cVirtualMidiBackend Backend;
    Backend.AddInDevice("TAV Emulator:TAV Emulator out");
    cScopedMidiBackend Installed(Backend);

    const tRun Result = RunCli({"devices"});
    EXPECT_EQ(Result.iStatus, 0);
    EXPECT_EQ(Result.Out,
              "MIDI output devices:\n"
              "  none\n"
              "MIDI input devices:\n"
              "  0  TAV Emulator:TAV Emulator out\n");
    EXPECT_EQ(Result.Err,
              "Note: You have no available Midi Out devices. This program is useless without a "
              "Midi Out Device\n");
}

TEST(CliDevices, bad_usage_gives_status_2_and_help_gives_status_0) {
    const std::pair<std::vector<std::string>, std::string> aCases[] = {
        {{"devices", "extra"}, "songloader-cli devices: unexpected argument 'extra'\n"},
        {{"devices", "--all"}, "songloader-cli devices: unrecognized option '--all'\n"},
    };
    for (const auto& [Args, FirstLine] : aCases) {
        const tRun Result = RunCli(Args);
        EXPECT_EQ(Result.iStatus, 2);
        EXPECT_EQ(Result.Out, "");
        EXPECT_EQ(Result.Err.substr(0, FirstLine.size()), FirstLine);
    }
    const tRun Help = RunCli({"devices", "--help"});
    EXPECT_EQ(Help.iStatus, 0);
    EXPECT_NE(Help.Out.find("Usage: songloader-cli devices"), std::string::npos);
    EXPECT_NE(RunCli({"--help"}).Out.find("devices\n      list the MIDI"), std::string::npos);
}
