#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "MidiTestSupport.h"
#include "RtMidiPeerDevice.h"
#include "midi/DeviceList.h"
#include "midi/MIDIInPort.h"
#include "midi/MIDIOutPort.h"
#include "midi/MidiErrorText.h"
#include "midi/rtmidi/RtMidiApiChoice.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "midi/rtmidi/RtMidiConnector.h"
#ifdef SONGLOADER_WITH_JACK
#include "midi/jack/JackConnector.h"
#endif

// The real backend against real ports: a second RtMidi client in this process plays the device
// with virtual ports of its own. Every test runs with each library that can carry the ports
// (on JACK: JACK's own API and RtMidi). Needs a MIDI system that answers (scripts/test.sh runs
// the tests inside scripts/with-jack-server.sh); skipped without one, except in CI.

// When no JACK server answers, RtMidi's JACK clients leave the ring buffers they made behind;
// LeakSanitizer (in the AddressSanitizer build) is not to count that against the skip.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:jack_ringbuffer_create\n";
}

namespace {

struct tDeviceLists {
    std::vector<std::string> Out;
    std::vector<std::string> In;
};

tDeviceLists ListDevices() {
    return {MidiOutDeviceNames(), MidiInDeviceNames()};
}

std::string LibraryName(const ::testing::TestParamInfo<tPortLibrary>& Info) {
    return Info.param == PORT_LIBRARY_RTMIDI ? "RtMidi" : "Preferred";
}

class MidiRealDevices : public ::testing::TestWithParam<tPortLibrary> {
  protected:
    void SetUp() override {
        if (!Backend.IsSystemReachable()) {
            const std::string Why = "the " + RtMidi::getApiDisplayName(Backend.GetApi()) +
                                    " MIDI system does not answer (scripts/with-jack-server.sh "
                                    "runs a command with a JACK server of its own)";
            if (InCi()) {
                FAIL() << Why << "; in CI this test must run";
            }
            GTEST_SKIP() << Why;
        }
        Installed = std::make_unique<cScopedMidiBackend>(Backend);
        Peer = std::make_unique<cRtMidiPeerDevice>(Backend.GetApi());
        const tDeviceLists Lists = ListDevices();
        iPeerIn = IndexOf(Lists.Out, cRtMidiPeerDevice::kInName);
        iPeerOut = IndexOf(Lists.In, "TAV Test out");
        ASSERT_GE(iPeerIn, 0) << "the device's input is not among the output devices";
        ASSERT_GE(iPeerOut, 0) << "the device's output is not among the input devices";
    }

    // Opens the input port with the transfer's blocks on the device's output.
    MMRESULT OpenIn(cMIDIInPort& Port) const {
        Port.uiNumberOfBuffers = 32;
        Port.uiBlockSize = 32;
        return Port.OpenPort(static_cast<uint32_t>(iPeerOut));
    }

    cRtMidiBackend Backend{ChooseMidiApi(), GetParam()};
    std::unique_ptr<cScopedMidiBackend> Installed;
    std::unique_ptr<cRtMidiPeerDevice> Peer;
    int iPeerIn = -1;
    int iPeerOut = -1;
};

INSTANTIATE_TEST_SUITE_P(, MidiRealDevices,
                         ::testing::Values(PORT_LIBRARY_PREFERRED, PORT_LIBRARY_RTMIDI),
                         LibraryName);

}  // namespace

TEST_P(MidiRealDevices, a_137_byte_sysex_sent_in_64_byte_chunks_arrives_whole) {
    cMIDIOutPort Port;
    ASSERT_EQ(Port.OpenPort(static_cast<uint32_t>(iPeerIn)), MMSYSERR_NOERROR);
    EXPECT_EQ(Port.GetOutPortState(), MIDI_OUT_READY);
    const std::vector<uint8_t> Message = MakeSysex(137, 5);
    EXPECT_EQ(Port.SendSysexPacket(137, Message.data()), MMSYSERR_NOERROR);
    const std::vector<uint8_t> Command = {0xF0, 0x7E, 0x23, 0x7F, 0x01, 0xF7};
    EXPECT_EQ(Port.SendSysexPacket(6, Command.data()), MMSYSERR_NOERROR);
    EXPECT_TRUE(WaitUntil([&] { return Peer->Received().size() >= 2; }));
    const std::vector<std::vector<uint8_t>> Expected = {Message, Command};
    EXPECT_EQ(Peer->Received(), Expected);
    Port.ClosePort();
    EXPECT_EQ(Port.GetOutPortState(), MIDI_OUT_CLOSED);
}

TEST_P(MidiRealDevices, replies_arrive_in_the_ring_in_order_and_short_messages_do_not) {
    cMIDIInPort Port;
    ASSERT_EQ(OpenIn(Port), MMSYSERR_NOERROR);
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_OPEN);
    const std::vector<std::vector<uint8_t>> Replies = {{0xF0, 0x7E, 0x23, 0x7F, 0x00, 0xF7},
                                                       MakeSysex(40, 9),
                                                       {0x90, 60, 100},
                                                       {0xF0, 0x7E, 0x23, 0x7F, 0x01, 0xF7},
                                                       MakeSysex(137, 3)};
    std::vector<uint8_t> Expected;
    for (const auto& Reply : Replies) {
        Peer->Send(Reply);
        if (Reply.front() == 0xF0) {
            Expected = Concat(Expected, Reply);
        }
    }
    std::vector<uint8_t> Received;
    WaitUntil([&] {
        const uint32_t uiCount = Port.GetStorageSize();
        for (uint32_t i = 0; i < uiCount; ++i) {
            Received.push_back(Port.GetStoredData());
        }
        return Received.size() >= Expected.size();
    });
    EXPECT_EQ(Received, Expected);
    Port.ClosePort();
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED);
}

TEST_P(MidiRealDevices, the_ports_of_every_running_instance_never_join_the_lists_so_indices_stay) {
    const tDeviceLists Before = ListDevices();
    cMIDIOutPort Out;
    cMIDIInPort In;
    ASSERT_EQ(Out.OpenPort(static_cast<uint32_t>(iPeerIn)), MMSYSERR_NOERROR);
    ASSERT_EQ(OpenIn(In), MMSYSERR_NOERROR);
    // Another instance of the program, with ports of its own on the same device.
    cRtMidiBackend OtherInstance(Backend.GetApi(), GetParam());
    HMIDIOUT hOtherOut{};
    HMIDIIN hOtherIn{};
    ASSERT_EQ(OtherInstance.midiOutOpen(&hOtherOut, static_cast<uint32_t>(iPeerIn), nullptr, 0,
                                        CALLBACK_FUNCTION),
              MMSYSERR_NOERROR);
    ASSERT_EQ(OtherInstance.midiInOpen(&hOtherIn, static_cast<uint32_t>(iPeerOut), nullptr, 0,
                                       CALLBACK_FUNCTION),
              MMSYSERR_NOERROR);
    const tDeviceLists WhileOpen = ListDevices();
    EXPECT_EQ(WhileOpen.Out, Before.Out);
    EXPECT_EQ(WhileOpen.In, Before.In);
    In.ClosePort();
    Out.ClosePort();
    const tDeviceLists After = ListDevices();
    EXPECT_EQ(After.Out, Before.Out);
    EXPECT_EQ(After.In, Before.In);
}

TEST_P(MidiRealDevices, names_are_cut_to_31_characters_and_bad_indices_are_refused) {
    RtMidiIn Lister(Backend.GetApi(), "TAV Test lister");
    std::string FullName;
    for (unsigned int i = 0; i < Lister.getPortCount(); ++i) {
        if (Lister.getPortName(i).find(cRtMidiPeerDevice::kOutName) != std::string::npos) {
            FullName = Lister.getPortName(i);
        }
    }
    ASSERT_GT(FullName.size(), 31u);
    EXPECT_EQ(ListDevices().In[static_cast<size_t>(iPeerOut)], FullName.substr(0, 31));

    const tDeviceLists Lists = ListDevices();
    cMIDIOutPort Out;
    EXPECT_EQ(Out.OpenPort(static_cast<uint32_t>(Lists.Out.size())), MMSYSERR_BADDEVICEID);
    cMIDIInPort In;
    EXPECT_EQ(In.OpenPort(static_cast<uint32_t>(Lists.In.size() + 5)), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(In.GetInPortState(), MIDI_IN_CLOSED);
}

TEST_P(MidiRealDevices, a_device_that_goes_away_fails_the_sends_after_it_and_says_why) {
    cMIDIOutPort Out;
    cMIDIInPort In;
    ASSERT_EQ(Out.OpenPort(static_cast<uint32_t>(iPeerIn)), MMSYSERR_NOERROR);
    ASSERT_EQ(OpenIn(In), MMSYSERR_NOERROR);
    const std::vector<uint8_t> Message = MakeSysex(137);
    ASSERT_EQ(Out.SendSysexPacket(137, Message.data()), MMSYSERR_NOERROR);
    Peer.reset();

    MMRESULT eSent = MMSYSERR_NOERROR;
    EXPECT_TRUE(WaitUntil([&] {
        eSent = Out.SendSysexPacket(137, Message.data());
        return eSent != MMSYSERR_NOERROR;
    }));
    EXPECT_EQ(eSent, MIDIERR_NODEVICE);
    EXPECT_NE(MidiOutErrorText(eSent).find("went away"), std::string::npos);
    // JACK tells an input connection that its device went away; RtMidi tells nothing.
    if (GetParam() == PORT_LIBRARY_PREFERRED && Backend.GetApi() == RtMidi::UNIX_JACK) {
        EXPECT_TRUE(WaitUntil([&] { return In.GetInPortLoss() == MIDIERR_NODEVICE; }));
        EXPECT_EQ(In.GetInPortState(), MIDI_IN_CLOSED);
    }
    In.ClosePort();
    Out.ClosePort();
}

TEST_P(MidiRealDevices,
       a_port_the_midi_system_refuses_is_reported_in_words_beyond_the_standard_texts) {
    cBackendErrorTexts Texts;
    std::unique_ptr<iMidiConnector> pConnector =
        std::make_unique<cRtMidiConnector>(Backend.GetApi(), Texts);
#ifdef SONGLOADER_WITH_JACK
    if (GetParam() == PORT_LIBRARY_PREFERRED && Backend.GetApi() == RtMidi::UNIX_JACK) {
        pConnector = std::make_unique<cJackConnector>(Texts);
    }
#endif
    const std::vector<std::string> Ports = pConnector->OutDevicePorts();
    const int iDevice = IndexOf(Ports, cRtMidiPeerDevice::kInName);
    ASSERT_GE(iDevice, 0);
    // Far longer than any port name the system takes.
    const std::string TooLong(400, 'x');
    std::unique_ptr<iOutConnection> pConnection;
    const MMRESULT eResult =
        pConnector->ConnectOut(Ports[static_cast<size_t>(iDevice)], TooLong, pConnection);
    if (eResult == MMSYSERR_NOERROR) {
        GTEST_SKIP() << "this MIDI system takes a port name of 400 characters";
    }
    EXPECT_EQ(pConnection, nullptr);
    EXPECT_EQ(StandardMidiErrorText(eResult), nullptr) << "a standard code has no words of its own";
    char szText[MAXERRORLENGTH] = {};
    ASSERT_EQ(Texts.GetText(eResult, szText, MAXERRORLENGTH), MMSYSERR_NOERROR);
    EXPECT_STRNE(szText, "");
    std::cout << "the system's words: " << szText << "\n";
}
