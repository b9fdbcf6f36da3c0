#include <gtest/gtest.h>

#include <vector>

#include "MidiTestSupport.h"
#include "midi/driver/MidiInBlockQueue.h"

namespace {

// What the callback was told: the message and, for blocks, the block and its bytes.
struct tCall {
    uint32_t wMsg;
    uintptr_t dwParam1;
    std::vector<uint8_t> Bytes;
};

std::vector<tCall> Calls;

void RecordCall(HMIDIIN, uint32_t wMsg, uintptr_t, uintptr_t dwParam1, uintptr_t) {
    tCall Call{wMsg, dwParam1, {}};
    if (wMsg == MIM_LONGDATA) {
        const auto* pHeader = reinterpret_cast<const MIDIHDR*>(dwParam1);
        Call.Bytes.assign(pHeader->lpData, pHeader->lpData + pHeader->dwBytesRecorded);
    }
    Calls.push_back(Call);
}

class MidiInBlocks : public ::testing::Test {
  protected:
    MidiInBlocks() : Queue(HMIDIIN{1}, &RecordCall, 0) { Calls.clear(); }

    // Prepares and queues uiCount blocks of uiSize bytes.
    void QueueBlocks(size_t uiCount, uint32_t uiSize) {
        Data.assign(uiCount * uiSize, 0);
        Headers.assign(uiCount, MIDIHDR{});
        for (size_t i = 0; i < uiCount; ++i) {
            Headers[i].lpData = Data.data() + i * uiSize;
            Headers[i].dwBufferLength = uiSize;
            ASSERT_EQ(Queue.Prepare(&Headers[i]), MMSYSERR_NOERROR);
            ASSERT_EQ(Queue.Queue(&Headers[i]), MMSYSERR_NOERROR);
        }
    }

    void Receive(const std::vector<uint8_t>& Message) {
        Queue.Receive(Message.data(), Message.size());
    }

    std::vector<std::vector<uint8_t>> BlocksReturned() const {
        std::vector<std::vector<uint8_t>> Blocks;
        for (const tCall& Call : Calls) {
            if (Call.wMsg == MIM_LONGDATA) {
                Blocks.push_back(Call.Bytes);
            }
        }
        return Blocks;
    }

    cMidiInBlockQueue Queue;
    std::vector<uint8_t> Data;
    std::vector<MIDIHDR> Headers;
};

}  // namespace

TEST_F(MidiInBlocks, a_block_goes_back_when_it_is_full_or_the_message_has_ended) {
    QueueBlocks(4, 32);
    Queue.Start();
    const std::vector<uint8_t> Long = MakeSysex(40, 1);
    const std::vector<uint8_t> Short = MakeSysex(6, 2);
    Receive(Long);
    Receive(Short);
    const std::vector<std::vector<uint8_t>> Expected = {
        {Long.begin(), Long.begin() + 32}, {Long.begin() + 32, Long.end()}, Short};
    EXPECT_EQ(BlocksReturned(), Expected);
    EXPECT_EQ(Queue.QueuedBlocks(), 1u);
    EXPECT_EQ(Headers[0].dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);
}

TEST_F(MidiInBlocks, with_no_block_queued_the_rest_of_a_message_is_dropped) {
    QueueBlocks(1, 32);
    Queue.Start();
    const std::vector<uint8_t> Long = MakeSysex(40);
    Receive(Long);
    Receive(MakeSysex(6));
    const std::vector<std::vector<uint8_t>> Expected = {{Long.begin(), Long.begin() + 32}};
    EXPECT_EQ(BlocksReturned(), Expected);
}

TEST_F(MidiInBlocks, nothing_is_delivered_before_start_or_after_reset) {
    QueueBlocks(2, 32);
    Receive(MakeSysex(6));
    EXPECT_TRUE(Calls.empty());
    Queue.Start();
    Queue.Reset();
    Receive(MakeSysex(6));
    // The reset handed back both blocks, empty and done.
    const std::vector<std::vector<uint8_t>> Expected = {{}, {}};
    EXPECT_EQ(BlocksReturned(), Expected);
    EXPECT_EQ(Queue.QueuedBlocks(), 0u);
}

TEST_F(MidiInBlocks, short_messages_go_to_the_callback_packed_status_first) {
    QueueBlocks(1, 32);
    Queue.Start();
    Receive({0x90, 0x3C, 0x64});
    Receive({0xF8});
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[0].wMsg, MIM_DATA);
    EXPECT_EQ(Calls[0].dwParam1, 0x643C90u);
    EXPECT_EQ(Calls[1].dwParam1, 0xF8u);
    EXPECT_EQ(Queue.QueuedBlocks(), 1u);
}

TEST_F(MidiInBlocks, headers_are_refused_unless_used_in_order) {
    uint8_t aucData[16] = {};
    MIDIHDR Header;
    Header.lpData = aucData;
    Header.dwBufferLength = sizeof(aucData);
    ASSERT_EQ(Queue.Prepare(&Header), MMSYSERR_NOERROR);
    ASSERT_EQ(Queue.Queue(&Header), MMSYSERR_NOERROR);
    EXPECT_EQ(Queue.Queue(&Header), MIDIERR_STILLPLAYING);
    EXPECT_EQ(Queue.Unprepare(&Header), MIDIERR_STILLPLAYING);
    EXPECT_EQ(Queue.Close(), MIDIERR_STILLPLAYING);
    Queue.Reset();
    EXPECT_EQ(Queue.Unprepare(&Header), MMSYSERR_NOERROR);
    EXPECT_EQ(Queue.Close(), MMSYSERR_NOERROR);
    EXPECT_EQ(Calls.back().wMsg, MIM_CLOSE);
    ASSERT_EQ(Queue.Prepare(&Header), MMSYSERR_NOERROR);
    EXPECT_EQ(Queue.Queue(&Header), MMSYSERR_INVALHANDLE);
}
