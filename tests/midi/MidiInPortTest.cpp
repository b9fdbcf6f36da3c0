#include <gtest/gtest.h>

#include <future>
#include <vector>

#include "HeldRequeue.h"
#include "MidiTestSupport.h"
#include "midi/MIDIInPort.h"

namespace {

class MidiInPort : public VirtualMidiTest {
  protected:
    // Opens the port with the transfer's blocks: 32 of 32 bytes.
    MMRESULT Open(cMIDIInPort& Port, uint32_t uiDevice) {
        Port.uiNumberOfBuffers = 32;
        Port.uiBlockSize = 32;
        return Port.OpenPort(uiDevice);
    }

    void Deliver(const std::vector<uint8_t>& Message) {
        Backend.DeliverInput(uiIn, Message);
        Backend.WaitForInput();
    }

    // What a poll takes: exactly the count it saw, in order.
    static std::vector<uint8_t> Drain(cMIDIInPort& Port) {
        std::vector<uint8_t> Bytes(Port.GetStorageSize());
        for (uint8_t& ucByte : Bytes) {
            ucByte = Port.GetStoredData();
        }
        return Bytes;
    }
};

// The same, with a port open on the input device before each test.
class OpenMidiInPort : public MidiInPort {
  protected:
    void SetUp() override { ASSERT_EQ(Open(Port, uiIn), MMSYSERR_NOERROR); }

    cMIDIInPort Port;
};

}  // namespace

TEST_F(OpenMidiInPort, a_six_byte_reply_is_counted_then_read_in_order_and_gone) {
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_OPEN);
    const std::vector<uint8_t> Ack = {0xF0, 0x7E, 0x23, 0x7F, 0x01, 0xF7};
    Deliver(Ack);
    ASSERT_EQ(Port.GetStorageSize(), 6u);
    EXPECT_EQ(Drain(Port), Ack);
    EXPECT_EQ(Port.GetStorageSize(), 0u);
}

TEST_F(OpenMidiInPort, a_message_longer_than_a_block_lies_contiguous_in_the_ring) {
    const std::vector<uint8_t> Long = MakeSysex(40, 1);
    const std::vector<uint8_t> Short = MakeSysex(6, 50);
    Deliver(Long);
    Deliver(Short);
    EXPECT_EQ(Drain(Port), Concat(Long, Short));
    // Every block came back and was queued again.
    EXPECT_EQ(Backend.QueuedInBlocks(uiIn), 32u);
}

TEST_F(OpenMidiInPort, reading_wraps_from_the_last_index_of_the_ring_to_the_first) {
    // Move both indices to the eighth-last index of the ring.
    for (int i = 0; i < 8; ++i) {
        Deliver(MakeSysex(255, static_cast<uint8_t>(i)));
        ASSERT_EQ(Drain(Port).size(), 255u);
    }
    const std::vector<uint8_t> Reply = MakeSysex(13, 0x40);
    Deliver(Reply);
    EXPECT_EQ(Port.GetStorageSize(), 13u);
    EXPECT_EQ(Drain(Port), Reply);
}

TEST_F(OpenMidiInPort, short_messages_leave_the_ring_unchanged) {
    const std::vector<std::vector<uint8_t>> aShort = {
        {0x90, 60, 100}, {0x80, 60, 0}, {0xB0, 7, 127}, {0xC0, 5}, {0xF8}, {0xFE}, {0xF1, 0x10},
    };
    for (const auto& Message : aShort) {
        Deliver(Message);
    }
    EXPECT_EQ(Port.GetStorageSize(), 0u);
    Deliver(MakeSysex(6));
    EXPECT_EQ(Port.GetStorageSize(), 6u);
}

TEST_F(OpenMidiInPort, a_full_ring_drops_what_does_not_fit_and_keeps_every_unread_byte) {
    std::vector<uint8_t> AllSent;
    for (int i = 0; i < 9; ++i) {
        const std::vector<uint8_t> Message = MakeSysex(250, static_cast<uint8_t>(i * 3));
        Deliver(Message);
        AllSent = Concat(AllSent, Message);
    }
    ASSERT_EQ(Port.GetStorageSize(), cMIDIInPort::kRingSize - 1);
    EXPECT_EQ(Drain(Port), std::vector<uint8_t>(AllSent.begin(), AllSent.begin() + 2047));
    const std::vector<uint8_t> Later = MakeSysex(6, 9);
    Deliver(Later);
    EXPECT_EQ(Drain(Port), Later);
}

TEST_F(OpenMidiInPort, reading_an_empty_ring_gives_0_and_moves_nothing) {
    EXPECT_EQ(Port.GetStoredData(), 0);
    EXPECT_EQ(Port.GetStoredData(), 0);
    EXPECT_EQ(Port.GetStorageSize(), 0u);
    const std::vector<uint8_t> Reply = MakeSysex(6, 3);
    Deliver(Reply);
    EXPECT_EQ(Drain(Port), Reply);
}

TEST_F(OpenMidiInPort, after_close_the_returned_blocks_are_neither_stored_nor_queued_again) {
    Port.ClosePort();
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED);
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
    EXPECT_EQ(Backend.QueuedInBlocks(uiIn), 0u);
    Deliver(MakeSysex(6));
    EXPECT_EQ(Port.GetStorageSize(), 0u);
}

TEST_F(OpenMidiInPort, unread_bytes_survive_closing_and_reopening) {
    const std::vector<uint8_t> Late = MakeSysex(9, 20);
    Deliver(Late);
    Port.ClosePort();
    ASSERT_EQ(Open(Port, uiIn), MMSYSERR_NOERROR);
    const std::vector<uint8_t> Next = MakeSysex(6, 30);
    Deliver(Next);
    EXPECT_EQ(Drain(Port), Concat(Late, Next));
}

TEST_F(MidiInPort, closing_a_port_that_is_not_open_calls_nothing) {
    cMIDIInPort Port;
    const uint32_t uiCallsBefore = Backend.PlatformCalls();
    Port.ClosePort();
    EXPECT_EQ(Backend.PlatformCalls(), uiCallsBefore);
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED);
}

TEST_F(MidiInPort, a_failed_open_reports_failure_and_never_starts_input) {
    const std::tuple<const char*, tVirtualFaults, MMRESULT, bool> aCases[] = {
        {"device refused", {.eOpenResult = MMSYSERR_ALLOCATED}, MMSYSERR_ALLOCATED, false},
        {"second block not prepared", {.uiPrepareFailsOn = 2}, MMSYSERR_NOMEM, true},
        {"last block not queued", {.uiQueueFailsOn = 32}, MIDIERR_NOTREADY, true},
    };
    for (const auto& [szCase, Faults, eExpected, bDeviceOpens] : aCases) {
        cVirtualMidiBackend Fresh;
        const uint32_t uiDevice = Fresh.AddInDevice("TAV Orvik in");
        Fresh.SetInFaults(uiDevice, Faults);
        cScopedMidiBackend Installed(Fresh);
        cMIDIInPort Port;
        EXPECT_EQ(Open(Port, uiDevice), eExpected) << szCase;
        EXPECT_EQ(Fresh.IsInOpen(uiDevice), bDeviceOpens) << szCase;
        Fresh.DeliverInput(uiDevice, MakeSysex(6));
        Fresh.WaitForInput();
        EXPECT_EQ(Port.GetStorageSize(), 0u) << szCase;
        Port.ClosePort();
        EXPECT_FALSE(Fresh.IsInOpen(uiDevice)) << szCase;
    }
}

TEST_F(OpenMidiInPort, a_device_still_open_is_not_opened_again_and_keeps_its_blocks) {
    EXPECT_EQ(Open(Port, uiIn), MMSYSERR_ALLOCATED);
    const std::vector<uint8_t> Reply = MakeSysex(40, 7);
    Deliver(Reply);
    EXPECT_EQ(Drain(Port), Reply);
}

TEST_F(MidiInPort, close_waits_for_a_device_that_still_holds_blocks) {
    Backend.SetInFaults(uiIn, {.StillPlayingPolls = 2});
    cMIDIInPort Port;
    ASSERT_EQ(Open(Port, uiIn), MMSYSERR_NOERROR);
    Port.ClosePort();
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED);
}

TEST_F(MidiInPort, close_while_a_block_is_being_stored_waits_then_closes_the_device) {
    cHeldRequeue Storing;
    Backend.SetInFaults(uiIn, Storing.Faults());
    cMIDIInPort Port;
    ASSERT_EQ(Open(Port, uiIn), MMSYSERR_NOERROR);
    Backend.DeliverInput(uiIn, MakeSysex(6));
    Storing.WaitUntilHeld();
    ASSERT_EQ(Port.GetInPortState(), MIDI_IN_STORING);

    std::future<void> Closed = std::async(std::launch::async, [&] { Port.ClosePort(); });
    EXPECT_EQ(Closed.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    EXPECT_TRUE(Backend.IsInOpen(uiIn));
    Storing.Release();
    Closed.wait();
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED);
    EXPECT_EQ(Port.GetStorageSize(), 6u);
}

TEST_F(OpenMidiInPort, a_new_port_object_resets_the_ring_and_the_state_but_not_the_device) {
    Deliver(MakeSysex(6));
    ASSERT_EQ(Port.GetStorageSize(), 6u);
    cMIDIInPort Listing;
    EXPECT_EQ(Port.GetStorageSize(), 0u);
    EXPECT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED);
    // The device is still open, and closing still closes it.
    EXPECT_TRUE(Backend.IsInOpen(uiIn));
    Port.ClosePort();
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
}

TEST_F(OpenMidiInPort, destroying_a_port_object_that_opened_nothing_leaves_the_open_device_alone) {
    { cMIDIInPort Unused; }
    EXPECT_TRUE(Backend.IsInOpen(uiIn));
    Port.ClosePort();
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
}

TEST_F(MidiInPort, destroying_the_port_that_opened_the_device_closes_it) {
    {
        cMIDIInPort Port;
        ASSERT_EQ(Open(Port, uiIn), MMSYSERR_NOERROR);
    }
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
}

TEST_F(MidiInPort, a_device_that_goes_away_is_closed_by_the_services_with_the_reason) {
    for (const MMRESULT eLoss : kLosses) {
        tInstalledVirtualBackend Fresh;
        cMIDIInPort Port;
        ASSERT_EQ(Open(Port, Fresh.uiIn), MMSYSERR_NOERROR);
        EXPECT_EQ(Port.GetInPortLoss(), MMSYSERR_NOERROR);
        Fresh.TakeAway(eLoss);
        EXPECT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED) << eLoss;
        EXPECT_EQ(Port.GetInPortLoss(), eLoss);
        // Still open in the services until the port closes it.
        EXPECT_TRUE(Fresh.Backend.IsInOpen(Fresh.uiIn)) << eLoss;
        Port.ClosePort();
        EXPECT_FALSE(Fresh.Backend.IsInOpen(Fresh.uiIn)) << eLoss;
        EXPECT_EQ(Port.GetInPortLoss(), eLoss);
    }
}

TEST_F(MidiInPort, a_port_whose_device_went_away_opens_the_next_without_being_closed_first) {
    const uint32_t uiSpare = Backend.AddInDevice("TAV Melko in");
    cMIDIInPort Port;
    ASSERT_EQ(Open(Port, uiIn), MMSYSERR_NOERROR);
    Backend.UnplugInDevice(uiIn);
    ASSERT_EQ(Port.GetInPortState(), MIDI_IN_CLOSED);
    // The unplugged device has left the list: the spare one is device 0 now.
    ASSERT_EQ(Open(Port, 0), MMSYSERR_NOERROR);
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
    EXPECT_TRUE(Backend.IsInOpen(uiSpare));
    EXPECT_EQ(Port.GetInPortLoss(), MMSYSERR_NOERROR);
    const std::vector<uint8_t> Reply = MakeSysex(6, 4);
    Deliver(Reply);
    Backend.DeliverInput(uiSpare, Reply);
    Backend.WaitForInput();
    EXPECT_EQ(Drain(Port), Reply);
    Port.ClosePort();
}
