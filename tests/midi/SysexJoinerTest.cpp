#include <gtest/gtest.h>

#include <vector>

#include "MidiTestSupport.h"
#include "midi/driver/SysexJoiner.h"

namespace {

using tBytes = std::vector<uint8_t>;
using tMessages = std::vector<tBytes>;

tBytes Slice(const tBytes& Bytes, size_t uiFrom, size_t uiTo) {
    return tBytes(Bytes.begin() + static_cast<long>(uiFrom),
                  Bytes.begin() + static_cast<long>(uiTo));
}

}  // namespace

TEST(MidiSysexJoiner, chunks_are_joined_until_the_end_of_the_message) {
    const tBytes Message = MakeSysex(137);
    cSysexJoiner Joiner;
    EXPECT_EQ(Joiner.Add(Message.data(), 64), tMessages{});
    EXPECT_TRUE(Joiner.IsInsideSysex());
    EXPECT_EQ(Joiner.Add(Message.data() + 64, 64), tMessages{});
    EXPECT_EQ(Joiner.Add(Message.data() + 128, 9), tMessages{Message});
    EXPECT_FALSE(Joiner.IsInsideSysex());
}

TEST(MidiSysexJoiner, what_a_chunk_completes_is_passed_on_message_by_message) {
    const tBytes First = MakeSysex(6, 1);
    const tBytes Second = MakeSysex(10, 2);
    const tBytes NoteOn = {0x90, 60, 100};
    struct tCase {
        const char* szName;
        tBytes Chunk;
        tMessages Expected;
    };
    const tCase aCases[] = {
        {"two messages in one chunk", Concat(First, Second), {First, Second}},
        {"bytes outside a message pass on as they come", NoteOn, {NoteOn}},
        {"loose bytes, then a message", Concat(NoteOn, First), {NoteOn, First}},
        {"a message interrupted by a new one passes on as it stands",
         Concat(Slice(First, 0, 3), Second),
         {Slice(First, 0, 3), Second}},
        {"an empty chunk", {}, {}},
    };
    for (const tCase& Case : aCases) {
        cSysexJoiner Joiner;
        EXPECT_EQ(Joiner.Add(Case.Chunk.data(), Case.Chunk.size()), Case.Expected) << Case.szName;
    }
}

TEST(MidiSysexJoiner, an_endless_message_is_passed_on_at_the_size_limit) {
    cSysexJoiner Joiner;
    tBytes Endless(cSysexJoiner::kMaxMessage + 10, 0x11);
    Endless[0] = 0xF0;
    const tMessages Done = Joiner.Add(Endless.data(), Endless.size());
    ASSERT_EQ(Done.size(), 2u);
    EXPECT_EQ(Done[0].size(), cSysexJoiner::kMaxMessage);
    EXPECT_EQ(Done[1], tBytes(10, 0x11));
}

TEST(MidiSysexJoiner, clearing_forgets_a_message_begun) {
    const tBytes Message = MakeSysex(20);
    cSysexJoiner Joiner;
    Joiner.Add(Message.data(), 10);
    Joiner.Clear();
    EXPECT_FALSE(Joiner.IsInsideSysex());
    EXPECT_EQ(Joiner.Add(Message.data() + 10, 10), tMessages{Slice(Message, 10, 20)});
}
