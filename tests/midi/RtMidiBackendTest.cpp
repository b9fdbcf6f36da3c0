#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "MidiTestSupport.h"
#include "midi/DeviceName.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "transfer/MIDIPort.h"

// The real backend against real RtMidi ports: a second RtMidi client in this process plays
// the device with virtual ports of its own. Needs a MIDI system that answers (scripts/test.sh
// runs the tests inside scripts/with-jack-server.sh); skipped without one, except in CI.

// When no JACK server answers, RtMidi's JACK clients leave the ring buffers they made behind;
// LeakSanitizer (in the AddressSanitizer build) is not to count that against the skip.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:jack_ringbuffer_create\n";
}

namespace {

constexpr const char* kPeerOutName = "TAV Test out port with a long name";
constexpr const char* kPeerInName = "TAV Test in";

bool InCi() {
    const char* szCi = std::getenv("CI");
    return szCi != nullptr && *szCi != '\0' && std::string(szCi) != "false";
}

// The device: receives what the program sends, sends what the test wants as replies.
class cPeerDevice {
  public:
    explicit cPeerDevice(RtMidi::Api eApi) : Out(eApi, "TAV Test"), In(eApi, "TAV Test") {
        In.ignoreTypes(false, true, true);
        In.setCallback(&cPeerDevice::OnMessage, this);
        In.openVirtualPort(kPeerInName);
        Out.openVirtualPort(kPeerOutName);
    }

    void Send(const std::vector<uint8_t>& Message) { Out.sendMessage(&Message); }

    std::vector<std::vector<uint8_t>> Received() {
        std::lock_guard<std::mutex> Lock(mReceived);
        return ReceivedMessages;
    }

  private:
    static void OnMessage(double, std::vector<unsigned char>* pMessage, void* pUserData) {
        auto* pPeer = static_cast<cPeerDevice*>(pUserData);
        std::lock_guard<std::mutex> Lock(pPeer->mReceived);
        pPeer->ReceivedMessages.push_back(*pMessage);
    }

    RtMidiOut Out;
    RtMidiIn In;
    std::mutex mReceived;
    std::vector<std::vector<uint8_t>> ReceivedMessages;
};

std::string Utf8(const char16_t* pszName) {
    return DeviceNameToUtf8(pszName);
}

struct tDeviceLists {
    std::vector<std::string> Out;
    std::vector<std::string> In;
};

tDeviceLists ListDevices() {
    cMIDIPort Ports;
    tDeviceLists Lists;
    const uint32_t uiOut = Ports.NumOutPorts();
    const uint32_t uiIn = Ports.NumInPorts();
    for (uint32_t i = 0; i < uiOut; ++i) {
        Lists.Out.push_back(Utf8(Ports.GetOutPortNames(i)));
    }
    for (uint32_t i = 0; i < uiIn; ++i) {
        Lists.In.push_back(Utf8(Ports.GetInPortNames(i)));
    }
    return Lists;
}

int IndexOf(const std::vector<std::string>& Names, const std::string& Fragment) {
    for (size_t i = 0; i < Names.size(); ++i) {
        if (Names[i].find(Fragment) != std::string::npos) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

class MidiRealDevices : public ::testing::Test {
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
        Peer = std::make_unique<cPeerDevice>(Backend.GetApi());
        const tDeviceLists Lists = ListDevices();
        iPeerIn = IndexOf(Lists.Out, kPeerInName);
        iPeerOut = IndexOf(Lists.In, "TAV Test out");
        ASSERT_GE(iPeerIn, 0) << "the device's input is not among the output devices";
        ASSERT_GE(iPeerOut, 0) << "the device's output is not among the input devices";
    }

    cRtMidiBackend Backend;
    std::unique_ptr<cScopedMidiBackend> Installed;
    std::unique_ptr<cPeerDevice> Peer;
    int iPeerIn = -1;
    int iPeerOut = -1;
};

}  // namespace

TEST_F(MidiRealDevices, a_137_byte_sysex_sent_in_64_byte_chunks_arrives_whole) {
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

TEST_F(MidiRealDevices, replies_arrive_in_the_ring_in_order_and_short_messages_do_not) {
    cMIDIInPort Port;
    Port.uiNumberOfBuffers = 32;
    Port.uiBlockSize = 32;
    ASSERT_EQ(Port.OpenPort(static_cast<uint32_t>(iPeerOut)), MMSYSERR_NOERROR);
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

TEST_F(MidiRealDevices, the_programs_own_ports_never_join_the_lists_so_indices_stay) {
    const tDeviceLists Before = ListDevices();
    cMIDIOutPort Out;
    cMIDIInPort In;
    ASSERT_EQ(Out.OpenPort(static_cast<uint32_t>(iPeerIn)), MMSYSERR_NOERROR);
    ASSERT_EQ(In.OpenPort(static_cast<uint32_t>(iPeerOut)), MMSYSERR_NOERROR);
    const tDeviceLists WhileOpen = ListDevices();
    EXPECT_EQ(WhileOpen.Out, Before.Out);
    EXPECT_EQ(WhileOpen.In, Before.In);
    In.ClosePort();
    Out.ClosePort();
    const tDeviceLists After = ListDevices();
    EXPECT_EQ(After.Out, Before.Out);
    EXPECT_EQ(After.In, Before.In);
}

TEST_F(MidiRealDevices, names_are_cut_to_31_characters_and_bad_indices_are_refused) {
    RtMidiIn Lister(Backend.GetApi(), "TAV Test lister");
    std::string FullName;
    for (unsigned int i = 0; i < Lister.getPortCount(); ++i) {
        if (Lister.getPortName(i).find(kPeerOutName) != std::string::npos) {
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
