#include <gtest/gtest.h>

#include <string>

#include "midi/driver/ProgramPortNames.h"

TEST(MidiProgramPortNames, the_ports_of_any_instance_of_the_program_are_told_from_the_devices) {
    const std::string OwnTag = MakeOwnTag();
    const std::pair<std::string, bool> aCases[] = {
        {"SongLoader:" + OwnPortName(OwnTag, false), true},
        {"SongLoader-01:" + OwnPortName(OwnTag, true), true},
        // Another instance, as JACK and as ALSA (with the port's address) list it.
        {"SongLoader-02:SongLoader 0badf00d out", true},
        {"SongLoader:SongLoader 12ab34cd in 130:0", true},
        {"TAV Emulator:TAV Emulator", false},
        {"TAV Emulator:TAV Emulator in", false},
        {"SongLoader Synth:SongLoader out", false},
        {"SongLoader:SongLoader 12ab34cd input", false},
        {"SongLoader:SongLoader 12AB34CD out", false},
        {"SongLoader:SongLoader 12ab34c out", false},
        {"", false},
    };
    for (const auto& [Name, bProgram] : aCases) {
        EXPECT_EQ(IsProgramPortName(Name), bProgram) << Name;
    }
    EXPECT_NE(MakeOwnTag(), OwnTag) << "every backend draws a tag of its own";
}
