#include <gtest/gtest.h>

#include <string>

#include "MidiTestSupport.h"
#include "midi/DeviceName.h"
#include "transfer/MIDIPort.h"

namespace {

std::string Utf8(const char16_t* pszName) {
    return DeviceNameToUtf8(pszName);
}

}  // namespace

TEST(MidiDeviceList, devices_are_listed_by_index_separately_for_output_and_input) {
    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("TAV Orvik");
    Backend.AddOutDevice("Synth out");
    Backend.AddInDevice("TAV Orvik reply");
    cScopedMidiBackend Installed(Backend);

    cMIDIPort Ports;
    ASSERT_EQ(Ports.NumOutPorts(), 2u);
    ASSERT_EQ(Ports.NumInPorts(), 1u);
    EXPECT_EQ(Utf8(Ports.GetOutPortNames(0)), "TAV Orvik");
    EXPECT_EQ(Utf8(Ports.GetOutPortNames(1)), "Synth out");
    EXPECT_EQ(Utf8(Ports.GetInPortNames(0)), "TAV Orvik reply");
}

TEST(MidiDeviceList, a_name_lives_in_the_object_until_the_next_query_of_its_direction) {
    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("First");
    Backend.AddOutDevice("Second");
    Backend.AddInDevice("Input");
    cScopedMidiBackend Installed(Backend);

    cMIDIPort Ports;
    const char16_t* pszInput = Ports.GetInPortNames(0);
    const char16_t* pszFirst = Ports.GetOutPortNames(0);
    const char16_t* pszSecond = Ports.GetOutPortNames(1);
    EXPECT_EQ(pszFirst, pszSecond);
    EXPECT_EQ(Utf8(pszFirst), "Second");
    EXPECT_EQ(Utf8(pszInput), "Input");
}

TEST(MidiDeviceList, names_are_cut_to_31_characters) {
    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("TAV Emulator:TAV Emulator in with a long port name");
    Backend.AddInDevice(std::string(31, 'x'));
    cScopedMidiBackend Installed(Backend);

    cMIDIPort Ports;
    EXPECT_EQ(Utf8(Ports.GetOutPortNames(0)), "TAV Emulator:TAV Emulator in wi");
    EXPECT_EQ(Utf8(Ports.GetInPortNames(0)), std::string(31, 'x'));
}

TEST(MidiDeviceList, a_device_whose_name_cannot_be_had_gets_an_empty_name) {
    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("TAV Orvik");
    Backend.AddInDevice("TAV Orvik");
    cScopedMidiBackend Installed(Backend);

    cMIDIPort Ports;
    ASSERT_EQ(Utf8(Ports.GetOutPortNames(0)), "TAV Orvik");
    ASSERT_EQ(Utf8(Ports.GetInPortNames(0)), "TAV Orvik");
    EXPECT_EQ(Utf8(Ports.GetOutPortNames(1)), "");
    EXPECT_EQ(Utf8(Ports.GetInPortNames(5)), "");
}

TEST(MidiDeviceList, without_a_backend_there_are_no_devices) {
    ASSERT_EQ(GetMidiBackend(), nullptr);
    cMIDIPort Ports;
    EXPECT_EQ(Ports.NumOutPorts(), 0u);
    EXPECT_EQ(Ports.NumInPorts(), 0u);
    EXPECT_EQ(Utf8(Ports.GetOutPortNames(0)), "");
}
