#include <gtest/gtest.h>

#include "app/DeviceMatch.h"

namespace {

tSavedSettings Saved(int32_t iIn, int32_t iOut, const char* szIn = "", const char* szOut = "") {
    return {iIn, iOut, szIn, szOut, false};
}

}  // namespace

TEST(DeviceMatch, the_alsa_address_at_the_end_of_a_name_is_left_out_and_nothing_else) {
    const std::pair<const char*, const char*> aCases[] = {
        {"TAV Emulator:TAV Emulator 128:0", "TAV Emulator:TAV Emulator"},
        {"USB MIDI 20:1", "USB MIDI"},
        {"USB MIDI", "USB MIDI"},
        {"Synth 12", "Synth 12"},
        {"Port 1:", "Port 1:"},
        {"Port :2", "Port :2"},
        {"Port a1:2", "Port a1:2"},
        {"system:midi_capture_1", "system:midi_capture_1"},
    };
    for (const auto& [szName, szWithout] : aCases) {
        EXPECT_EQ(DeviceNameWithoutAddress(szName), szWithout) << szName;
    }
}

TEST(DeviceMatch, a_device_is_found_by_its_name_whatever_its_address_and_sharing_is_told) {
    const std::vector<std::string> Names = {"Synth 14:0", "TAV Emulator 129:0", "Synth 20:0"};
    EXPECT_EQ(FindDeviceByName(Names, "TAV Emulator 128:0").iIndex, 1);
    EXPECT_FALSE(FindDeviceByName(Names, "TAV Emulator").bShared);
    const tDeviceLookup Synth = FindDeviceByName(Names, "Synth 14:0");
    EXPECT_EQ(Synth.iIndex, 0);
    EXPECT_TRUE(Synth.bShared);
    EXPECT_EQ(FindDeviceByName(Names, "Piano").iIndex, -1);
}

TEST(DeviceMatch, the_saved_choice_is_checked_against_the_devices_present_now) {
    const std::vector<std::string> Ins = {"In A", "In B 24:0", "In C", "In D"};
    const std::vector<std::string> Outs = {"Out A", "Out B"};
    struct tCase {
        const char* szWhat;
        tSavedSettings Saved;
        int32_t iIn;
        int32_t iOut;
    };
    const tCase aCases[] = {
        {"indices without names", Saved(1, 0), 1, 0},
        {"an index beyond the last device", Saved(4, 2), -1, -1},
        {"a negative index", Saved(-2, 1), -1, 1},
        {"the device there has the saved name", Saved(1, 1, "In B 20:0", "Out B"), 1, 1},
        {"another device there: the name decides", Saved(0, 0, "In D", "Out B"), 3, 1},
        {"an index beyond the last device, a name present", Saved(9, 9, "In C", "Out A"), 2, 0},
        {"a name no device has", Saved(2, 1, "Piano", "Out B"), -1, 1},
    };
    for (const tCase& Case : aCases) {
        const tDevicePair Pair = ChooseSavedDevices(Case.Saved, Ins, Outs);
        EXPECT_EQ(Pair.iInPort, Case.iIn) << Case.szWhat;
        EXPECT_EQ(Pair.iOutPort, Case.iOut) << Case.szWhat;
    }
    EXPECT_EQ(ChooseSavedDevices(Saved(0, 0), {}, Outs).iOutPort, -1);  // no input device at all
}

TEST(DeviceMatch, a_saved_software_synthesizer_clears_both_choices) {
    const std::pair<const char*, bool> aCases[] = {
        {"Microsoft GS Wavetable SW Synth", true},
        {"Wavetable SW Synth", true},
        {"Microsoft GS wavetable sw synth", false},  // other letter case
    };
    for (const auto& [szOutput, bCleared] : aCases) {
        const tDevicePair Pair =
            ChooseSavedDevices(Saved(1, 1), {"In A", "In B"}, {"Out A", szOutput});
        EXPECT_EQ(Pair.iInPort, bCleared ? -1 : 1) << szOutput;
        EXPECT_EQ(Pair.iOutPort, bCleared ? -1 : 1) << szOutput;
    }
}

TEST(DeviceMatch, the_file_keeps_the_indices_the_names_of_the_chosen_devices_and_the_merge_option) {
    const tSavedSettings Kept = SettingsToSave({1, -1}, {"In A", "In B"}, {"Out A"}, true);
    EXPECT_EQ(Kept.iInPort, 1);
    EXPECT_EQ(Kept.InName, "In B");
    EXPECT_EQ(Kept.iOutPort, -1);
    EXPECT_EQ(Kept.OutName, "");
    EXPECT_TRUE(Kept.bMergeTracks);
}
