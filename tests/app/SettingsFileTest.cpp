#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "app/SettingsFile.h"

namespace {

const std::vector<std::string> kFourInputs = {"In A", "In B", "In C", "In D"};
const std::vector<std::string> kTwoOutputs = {"Out A", "Out B"};
constexpr std::optional<int32_t> kNone = std::nullopt;

struct tLineCase {
    const char* szLine;
    std::optional<int32_t> Expected;
};

struct tFileCase {
    const char* szWhat;
    std::string Content;
    int32_t iExpectedIn;
    int32_t iExpectedOut;
};

tSavedDevices ReadBack(const TempDir& Folder,
                       const std::vector<std::string>& OutNames = kTwoOutputs) {
    return SettingsFile::ReadDeviceChoice(Folder / "SongLoader.ini", kFourInputs, OutNames);
}

}  // namespace

TEST(SettingsFile, a_line_gives_the_integer_after_its_first_equals_sign) {
    const tLineCase aCases[] = {
        {"MIDIINPORT=1", 1},
        {"MIDIINPORT= 3 ", 3},
        {"MIDIOUTPORT=\t2", 2},
        {"MIDIOUTPORT=-1", -1},
        {"MIDIINPORT=+2", 2},
        {" 7", 7},  // no equals sign: the whole line
        {"A=B=3", kNone},
        {"SOMETHING=5", 5},
        {"MIDIINPORT=", kNone},
        {"MIDIINPORT=one", kNone},
        {"MIDIINPORT=1x", kNone},
        {"MIDIINPORT=1 2", kNone},
        {"MIDIINPORT=0x1", kNone},
        {"MIDIINPORT=2147483648", kNone},
        {"MIDIINPORT=2147483647", 2147483647},
        {"MIDIINPORT=+-1", kNone},
        {"MIDIINPORT=-", kNone},
    };
    for (const tLineCase& Case : aCases) {
        EXPECT_EQ(SettingsFile::ParseIndexLine(Case.szLine), Case.Expected) << Case.szLine;
    }
}

TEST(SettingsFile, the_saved_choice_is_checked_against_the_devices_present) {
    const tFileCase aCases[] = {
        {"as written", "MIDIINPORT=1\r\nMIDIOUTPORT=0\r\n", 1, 0},
        {"position counts, not the key", "MIDIOUTPORT=0\r\nMIDIINPORT=1\r\n", 0, 1},
        {"output beyond the last device", "MIDIINPORT=0\r\nMIDIOUTPORT=2\r\n", 0, -1},
        {"last output device", "MIDIINPORT=0\r\nMIDIOUTPORT=1\r\n", 0, 1},
        {"blanks around the input", "MIDIINPORT= 3 \r\nMIDIOUTPORT=1\r\n", 3, 1},
        {"input beyond the last device", "MIDIINPORT=4\r\nMIDIOUTPORT=1\r\n", -1, 1},
        {"negative index", "MIDIINPORT=-2\r\nMIDIOUTPORT=-7\r\n", -1, -1},
        {"line feeds only", "MIDIINPORT=2\nMIDIOUTPORT=1\n", 2, 1},
        {"second line missing", "MIDIINPORT=2\r\n", 2, -1},
        {"empty file", "", -1, -1},
        {"no integer on the first line", "MIDIINPORT=abc\r\nMIDIOUTPORT=1\r\n", -1, 1},
        {"further lines ignored", "MIDIINPORT=1\r\nMIDIOUTPORT=1\r\nMIDIOUTPORT=0\r\n", 1, 1},
        {"no line end at all", "MIDIINPORT=3", 3, -1},
    };
    for (const tFileCase& Case : aCases) {
        TempDir Folder;
        WriteAll(Folder / "SongLoader.ini", {Case.Content.begin(), Case.Content.end()});
        const tSavedDevices Choice = ReadBack(Folder);
        EXPECT_EQ(Choice.iSelectedInPort, Case.iExpectedIn) << Case.szWhat;
        EXPECT_EQ(Choice.iSelectedOutPort, Case.iExpectedOut) << Case.szWhat;
    }
}

TEST(SettingsFile, a_missing_file_gives_no_devices_and_is_not_created) {
    TempDir Folder;
    const tSavedDevices Choice = ReadBack(Folder);
    EXPECT_EQ(Choice.iSelectedInPort, -1);
    EXPECT_EQ(Choice.iSelectedOutPort, -1);
    EXPECT_FALSE(std::filesystem::exists(Folder / "SongLoader.ini"));
}

TEST(SettingsFile, with_no_device_of_one_kind_the_file_gives_no_choice) {
    TempDir Folder;
    ASSERT_TRUE(SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {0, 0}));
    EXPECT_EQ(ReadBack(Folder, {}).iSelectedInPort, -1);
    const tSavedDevices NoInputs =
        SettingsFile::ReadDeviceChoice(Folder / "SongLoader.ini", {}, kTwoOutputs);
    EXPECT_EQ(NoInputs.iSelectedOutPort, -1);
}

TEST(SettingsFile, a_saved_software_synthesizer_clears_both_choices) {
    const std::pair<const char*, bool> aCases[] = {
        {"Microsoft GS Wavetable SW Synth", true},
        {"Wavetable SW Synth", true},
        {"Microsoft GS wavetable sw synth", false},  // other letter case
        {"USB MIDI Interface", false},
    };
    for (const auto& [szOutput, bCleared] : aCases) {
        TempDir Folder;
        const std::string Text = "MIDIINPORT=1\r\nMIDIOUTPORT=1\r\n";
        WriteAll(Folder / "SongLoader.ini", {Text.begin(), Text.end()});
        const tSavedDevices Choice = ReadBack(Folder, {"Out A", szOutput});
        EXPECT_EQ(Choice.iSelectedInPort, bCleared ? -1 : 1) << szOutput;
        EXPECT_EQ(Choice.iSelectedOutPort, bCleared ? -1 : 1) << szOutput;
    }
}

TEST(SettingsFile, the_file_holds_two_lines_ended_by_cr_lf_and_reads_back_the_same) {
    TempDir Folder;
    ASSERT_TRUE(SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {-1, 12}));
    EXPECT_EQ(ReadText(Folder / "SongLoader.ini"), "MIDIINPORT=-1\r\nMIDIOUTPORT=12\r\n");
    ASSERT_TRUE(SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {3, 1}));
    EXPECT_EQ(ReadText(Folder / "SongLoader.ini"), "MIDIINPORT=3\r\nMIDIOUTPORT=1\r\n");
    const tSavedDevices Choice = ReadBack(Folder);
    EXPECT_EQ(Choice.iSelectedInPort, 3);
    EXPECT_EQ(Choice.iSelectedOutPort, 1);
}

TEST(SettingsFile, a_file_that_cannot_be_written_is_reported) {
    TempDir Folder;
    std::filesystem::create_directory(Folder / "SongLoader.ini");
    EXPECT_FALSE(SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {0, 0}));
}
