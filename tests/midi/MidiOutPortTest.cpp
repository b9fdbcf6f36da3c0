#include <gtest/gtest.h>

#include <vector>

#include "MidiTestSupport.h"
#include "midi/MIDIOutPort.h"

namespace {

using MidiOutPort = VirtualMidiTest;

std::vector<size_t> ChunkSizes(const std::vector<std::vector<uint8_t>>& Chunks) {
    std::vector<size_t> Sizes;
    for (const auto& Chunk : Chunks) {
        Sizes.push_back(Chunk.size());
    }
    return Sizes;
}

std::vector<uint8_t> Joined(const std::vector<std::vector<uint8_t>>& Chunks) {
    std::vector<uint8_t> All;
    for (const auto& Chunk : Chunks) {
        All.insert(All.end(), Chunk.begin(), Chunk.end());
    }
    return All;
}

}  // namespace

TEST_F(MidiOutPort, a_message_goes_out_in_chunks_of_at_most_64_bytes_in_order) {
    const std::pair<int32_t, std::vector<size_t>> aCases[] = {
        {6, {6}},        {64, {64}},         {65, {64, 1}},
        {128, {64, 64}}, {137, {64, 64, 9}}, {200, {64, 64, 64, 8}},
    };
    for (const auto& [iSize, ExpectedSizes] : aCases) {
        tInstalledVirtualBackend Fresh;
        cMIDIOutPort Port;
        ASSERT_EQ(Port.OpenPort(Fresh.uiOut), MMSYSERR_NOERROR);
        const std::vector<uint8_t> Message = MakeSysex(static_cast<size_t>(iSize));
        EXPECT_EQ(Port.SendSysexPacket(iSize, Message.data()), MMSYSERR_NOERROR) << iSize;
        EXPECT_EQ(ChunkSizes(Fresh.Backend.SentChunks(Fresh.uiOut)), ExpectedSizes) << iSize;
        EXPECT_EQ(Joined(Fresh.Backend.SentChunks(Fresh.uiOut)), Message) << iSize;
        Port.ClosePort();
    }
}

TEST_F(MidiOutPort, an_empty_or_negative_size_or_missing_data_sends_nothing_and_calls_nothing) {
    const std::vector<uint8_t> Message = MakeSysex(6);
    const std::tuple<int32_t, const uint8_t*, MMRESULT> aCases[] = {
        {0, Message.data(), MMSYSERR_NOERROR},      {-1, Message.data(), MMSYSERR_INVALPARAM},
        {-64, Message.data(), MMSYSERR_INVALPARAM}, {0, nullptr, MMSYSERR_NOERROR},
        {6, nullptr, MMSYSERR_INVALPARAM},
    };
    cMIDIOutPort Port;
    ASSERT_EQ(Port.OpenPort(uiOut), MMSYSERR_NOERROR);
    const uint32_t uiCallsBefore = Backend.PlatformCalls();
    for (const auto& [iSize, pucData, eExpected] : aCases) {
        EXPECT_EQ(Port.SendSysexPacket(iSize, pucData), eExpected) << iSize;
    }
    EXPECT_EQ(Backend.PlatformCalls(), uiCallsBefore);
    EXPECT_TRUE(Backend.SentChunks(uiOut).empty());
    Port.ClosePort();
}

TEST_F(MidiOutPort, a_failure_on_the_second_chunk_leaves_the_first_sent_and_the_rest_unsent) {
    const std::pair<tVirtualFaults, MMRESULT> aCases[] = {
        {{.uiPrepareFailsOn = 2}, MMSYSERR_NOMEM},
        {{.uiQueueFailsOn = 2}, MIDIERR_NOTREADY},
    };
    for (const auto& [Faults, eExpected] : aCases) {
        cVirtualMidiBackend Fresh;
        const uint32_t uiDevice = Fresh.AddOutDevice("TAV Melko");
        Fresh.SetOutFaults(uiDevice, Faults);
        cScopedMidiBackend Installed(Fresh);
        cMIDIOutPort Port;
        ASSERT_EQ(Port.OpenPort(uiDevice), MMSYSERR_NOERROR);
        const std::vector<uint8_t> Message = MakeSysex(200);
        EXPECT_EQ(Port.SendSysexPacket(200, Message.data()), eExpected);
        const auto Sent = Fresh.SentChunks(uiDevice);
        ASSERT_EQ(Sent.size(), 1u);
        EXPECT_EQ(Sent[0], std::vector<uint8_t>(Message.begin(), Message.begin() + 64));
        Port.ClosePort();
    }
}

TEST_F(MidiOutPort, each_chunk_is_polled_until_the_driver_hands_it_back_before_the_next_goes) {
    Backend.SetOutFaults(uiOut, {.StillPlayingPolls = 3});
    cMIDIOutPort Port;
    ASSERT_EQ(Port.OpenPort(uiOut), MMSYSERR_NOERROR);
    const std::vector<uint8_t> Message = MakeSysex(130);
    const uint32_t uiCallsBefore = Backend.PlatformCalls();
    EXPECT_EQ(Port.SendSysexPacket(130, Message.data()), MMSYSERR_NOERROR);
    // Per chunk: prepare, long message, three "still playing" polls and the one that succeeds.
    EXPECT_EQ(Backend.PlatformCalls() - uiCallsBefore, 3u * 6u);
    EXPECT_EQ(Joined(Backend.SentChunks(uiOut)), Message);
    EXPECT_EQ(Port.GetOutPortState(), MIDI_OUT_READY);
    Port.ClosePort();
}

TEST_F(MidiOutPort, the_state_follows_the_callbacks_of_every_output_port_in_the_process) {
    const uint32_t uiSecond = Backend.AddOutDevice("TAV Melko");
    cMIDIOutPort Transfer;
    cMIDIOutPort Commands;
    ASSERT_EQ(Transfer.OpenPort(uiOut), MMSYSERR_NOERROR);
    EXPECT_EQ(Transfer.GetOutPortState(), MIDI_OUT_READY);

    ASSERT_EQ(Commands.OpenPort(uiSecond), MMSYSERR_NOERROR);
    Commands.ClosePort();
    EXPECT_EQ(Transfer.GetOutPortState(), MIDI_OUT_CLOSED);

    const std::vector<uint8_t> Message = MakeSysex(6);
    Transfer.SendSysexPacket(6, Message.data());
    EXPECT_EQ(Transfer.GetOutPortState(), MIDI_OUT_READY);
    Transfer.ClosePort();
    EXPECT_EQ(Transfer.GetOutPortState(), MIDI_OUT_CLOSED);
    EXPECT_FALSE(Backend.IsOutOpen(uiOut));
}

TEST_F(MidiOutPort, a_refused_open_passes_the_platform_result_on_and_leaves_the_state) {
    cMIDIOutPort Port;
    ASSERT_EQ(Port.OpenPort(uiOut), MMSYSERR_NOERROR);
    Port.ClosePort();
    Backend.SetOutFaults(uiOut, {.eOpenResult = MMSYSERR_ALLOCATED});
    EXPECT_EQ(Port.OpenPort(uiOut), MMSYSERR_ALLOCATED);
    EXPECT_EQ(Port.GetOutPortState(), MIDI_OUT_CLOSED);
    EXPECT_EQ(Port.OpenPort(7), MMSYSERR_BADDEVICEID);
}

TEST(MidiOutPortAlone, the_state_is_not_opened_until_the_first_open) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(cMIDIOutPort().GetOutPortState() == MIDI_OUT_NOT_OPENED ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

TEST(MidiOutPortAlone, without_a_backend_no_device_opens) {
    ASSERT_EQ(GetMidiBackend(), nullptr);
    cMIDIOutPort Port;
    EXPECT_EQ(Port.OpenPort(0), MMSYSERR_NODRIVER);
}

TEST(MidiOutPortLoss, a_send_after_the_device_or_the_midi_system_went_away_fails_with_why) {
    for (const MMRESULT eLoss : kLosses) {
        tInstalledVirtualBackend Fresh;
        cMIDIOutPort Port;
        ASSERT_EQ(Port.OpenPort(Fresh.uiOut), MMSYSERR_NOERROR);
        const std::vector<uint8_t> Message = MakeSysex(137);
        ASSERT_EQ(Port.SendSysexPacket(137, Message.data()), MMSYSERR_NOERROR);
        Fresh.TakeAway(eLoss);
        EXPECT_EQ(Port.SendSysexPacket(137, Message.data()), eLoss);
        EXPECT_EQ(Fresh.Backend.SentChunks(Fresh.uiOut).size(), 3u) << eLoss;
        Port.ClosePort();
        EXPECT_FALSE(Fresh.Backend.IsOutOpen(Fresh.uiOut)) << eLoss;
        EXPECT_NE(Port.OpenPort(0), MMSYSERR_NOERROR) << eLoss;
    }
}
