#include <gtest/gtest.h>

#include "emulator/MessageSplitter.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Messages = std::vector<Bytes>;

struct tSplitCase {
    const char* szWhat;
    std::vector<Bytes> Deliveries;
    Messages Expected;  // from all deliveries, in order
};

}  // namespace

TEST(MessageSplitter, cuts_deliveries_into_messages_as_the_wire_defines_them) {
    const tSplitCase aCases[] = {
        {"one whole SysEx", {{0xF0, 0x01, 0xF7}}, {{0xF0, 0x01, 0xF7}}},
        {"two SysEx and a note in one delivery",
         {{0xF0, 0x01, 0xF7, 0x90, 0x3C, 0x7F, 0xF0, 0x02, 0xF7}},
         {{0xF0, 0x01, 0xF7}, {0x90, 0x3C, 0x7F}, {0xF0, 0x02, 0xF7}}},
        {"a SysEx across deliveries",
         {{0xF0, 0x01}, {0x02}, {0x03, 0xF7}},
         {{0xF0, 0x01, 0x02, 0x03, 0xF7}}},
        {"a new F0 ends a SysEx without its F7",
         {{0xF0, 0x01}, {0xF0, 0x02, 0xF7}},
         {{0xF0, 0x01}, {0xF0, 0x02, 0xF7}}},
        {"any other status ends it too",
         {{0xF0, 0x01, 0x80, 0x3C, 0x00}},
         {{0xF0, 0x01}, {0x80, 0x3C, 0x00}}},
        {"a real-time byte inside a SysEx is a message of its own",
         {{0xF0, 0x01, 0xF8, 0x02, 0xF7}},
         {{0xF8}, {0xF0, 0x01, 0x02, 0xF7}}},
        {"a stray end byte", {{0xF7}}, {{0xF7}}},
    };
    for (const tSplitCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        cMessageSplitter Splitter;
        Messages Got;
        for (const Bytes& Delivery : Case.Deliveries) {
            for (Bytes& Message : Splitter.Add(Delivery)) {
                Got.push_back(std::move(Message));
            }
        }
        EXPECT_EQ(Got, Case.Expected);
    }
}

TEST(MessageSplitter, a_sysex_that_never_ends_passes_on_at_its_bound) {
    cMessageSplitter Splitter;
    Bytes Endless(cMessageSplitter::kMaxSysex + 10, 0x11);
    Endless[0] = 0xF0;
    const Messages Got = Splitter.Add(Endless);
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(Got[0].size(), cMessageSplitter::kMaxSysex);
    EXPECT_EQ(Got[1], Bytes(10, 0x11));
}
