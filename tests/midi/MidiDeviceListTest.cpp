#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MidiTestSupport.h"
#include "midi/DeviceList.h"
#include "midi/DeviceName.h"
#include "midi/MIDIInPort.h"
#include "midi/MIDIOutPort.h"

namespace {

using tNames = std::vector<std::string>;
using MidiDeviceListing = VirtualMidiTest;

}  // namespace

TEST(MidiDeviceList, devices_are_listed_by_index_separately_for_output_and_input) {
    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("TAV Orvik");
    Backend.AddOutDevice("Synth out");
    Backend.AddInDevice("TAV Orvik reply");
    cScopedMidiBackend Installed(Backend);

    EXPECT_EQ(MidiOutDeviceNames(), (tNames{"TAV Orvik", "Synth out"}));
    EXPECT_EQ(MidiInDeviceNames(), tNames{"TAV Orvik reply"});
}

TEST(MidiDeviceList, names_are_cut_to_31_characters) {
    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("TAV Emulator:TAV Emulator in with a long port name");
    Backend.AddInDevice(std::string(31, 'x'));
    cScopedMidiBackend Installed(Backend);

    EXPECT_EQ(MidiOutDeviceNames(), tNames{"TAV Emulator:TAV Emulator in wi"});
    EXPECT_EQ(MidiInDeviceNames(), tNames{std::string(31, 'x')});
}

TEST(MidiDeviceList, a_device_that_went_away_leaves_the_list_and_the_devices_after_it_move_up) {
    cVirtualMidiBackend Backend;
    const uint32_t uiFirst = Backend.AddOutDevice("First");
    Backend.AddOutDevice("Second");
    const uint32_t uiInput = Backend.AddInDevice("Input");
    cScopedMidiBackend Installed(Backend);

    Backend.UnplugOutDevice(uiFirst);
    EXPECT_EQ(MidiOutDeviceNames(), tNames{"Second"});
    Backend.UnplugInDevice(uiInput);
    EXPECT_EQ(MidiInDeviceNames(), tNames{});
}

TEST(MidiDeviceList, without_a_backend_or_a_midi_system_there_are_no_devices) {
    ASSERT_EQ(GetMidiBackend(), nullptr);
    EXPECT_EQ(MidiOutDeviceNames(), tNames{});
    EXPECT_EQ(MidiInDeviceNames(), tNames{});

    cVirtualMidiBackend Backend;
    Backend.AddOutDevice("TAV Orvik");
    Backend.AddInDevice("TAV Orvik");
    cScopedMidiBackend Installed(Backend);
    Backend.ShutDownSystem();
    EXPECT_EQ(MidiOutDeviceNames(), tNames{});
    EXPECT_EQ(MidiInDeviceNames(), tNames{});
}

TEST_F(MidiDeviceListing, listing_leaves_the_input_ring_and_the_open_ports_alone) {
    cMIDIInPort Port;
    Port.uiNumberOfBuffers = 32;
    Port.uiBlockSize = 32;
    ASSERT_EQ(Port.OpenPort(uiIn), MMSYSERR_NOERROR);
    Backend.DeliverInput(uiIn, MakeSysex(6));
    Backend.WaitForInput();
    ASSERT_EQ(Port.GetStorageSize(), 6u);

    EXPECT_EQ(MidiOutDeviceNames(), tNames{"TAV Orvik out"});
    EXPECT_EQ(MidiInDeviceNames(), tNames{"TAV Orvik in"});
    EXPECT_EQ(Port.GetStorageSize(), 6u);
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_OPEN);
    EXPECT_TRUE(Backend.IsInOpen(uiIn));
    Port.ClosePort();
}

TEST(MidiDeviceList, the_position_of_a_name_is_the_index_that_a_port_opens) {
    cVirtualMidiBackend Backend;
    const uint32_t uiGone = Backend.AddOutDevice("Gone");
    Backend.AddOutDevice("First");
    const uint32_t uiSecond = Backend.AddOutDevice("Second");
    const uint32_t uiInput = Backend.AddInDevice("Input");
    cScopedMidiBackend Installed(Backend);
    Backend.UnplugOutDevice(uiGone);

    cMIDIOutPort Out;
    ASSERT_EQ(Out.OpenPort(static_cast<uint32_t>(IndexOf(MidiOutDeviceNames(), "Second"))),
              MMSYSERR_NOERROR);
    EXPECT_TRUE(Backend.IsOutOpen(uiSecond));
    cMIDIInPort In;
    ASSERT_EQ(In.OpenPort(static_cast<uint32_t>(IndexOf(MidiInDeviceNames(), "Input"))),
              MMSYSERR_NOERROR);
    EXPECT_TRUE(Backend.IsInOpen(uiInput));
    Out.ClosePort();
    In.ClosePort();
}
