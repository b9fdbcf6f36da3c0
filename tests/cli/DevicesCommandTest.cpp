#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "app/AppTexts.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"

TEST(CliDevices, lists_both_kinds_with_their_indices_and_warns_of_a_missing_kind) {
    struct tCase {
        std::vector<std::string> Outs;
        std::vector<std::string> Ins;
        const char* szOut;
        std::string Err;
    };
    const tCase aCases[] = {
        {{"TAV Emulator:TAV Emulator in", "Synth with a name longer than the record holds"},
         {"TAV Emulator:TAV Emulator out"},
         "MIDI output devices:\n"
         "  0  TAV Emulator:TAV Emulator in\n"
         "  1  Synth with a name longer than t\n"
         "MIDI input devices:\n"
         "  0  TAV Emulator:TAV Emulator out\n",
         ""},
        {{},
         {"TAV Emulator:TAV Emulator out"},
         "MIDI output devices:\n"
         "  none\n"
         "MIDI input devices:\n"
         "  0  TAV Emulator:TAV Emulator out\n",
         std::string(AppTexts::kNoOutDevices) + "\n"},
    };
    for (const tCase& Case : aCases) {
        cVirtualMidiBackend Backend;
        for (const std::string& Name : Case.Outs) {
            Backend.AddOutDevice(Name);
        }
        for (const std::string& Name : Case.Ins) {
            Backend.AddInDevice(Name);
        }
        cScopedMidiBackend Installed(Backend);
        const tRun Result = RunCli({"devices"});
        EXPECT_EQ(Result.iStatus, 0);
        EXPECT_EQ(Result.Out, Case.szOut);
        EXPECT_EQ(Result.Err, Case.Err);
    }
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
