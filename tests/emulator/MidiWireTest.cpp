#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "emulator/MidiWire.h"

namespace {

using std::chrono::microseconds;

// Bytes put on the wire at a moment, and what the wire makes of them.
struct tCarry {
    int64_t iAtUs;
    size_t uiBytes;
    size_t uiKept;
    int64_t iAcrossUs;
};

struct tWireCase {
    const char* szWhat;
    uint32_t uiBaud;
    uint32_t uiBuffer;
    std::vector<tCarry> Carries;
};

}  // namespace

TEST(MidiWire, bytes_cross_at_the_baud_rate_in_order_and_a_full_buffer_loses_them) {
    const tWireCase aCases[] = {
        {"a reply of 6 bytes at 31250 baud takes 6 x 320 us; bytes that find the wire busy wait",
         31250,
         0,
         {{0, 6, 6, 1920}, {1000, 6, 6, 3840}, {10000, 1, 1, 10320}}},
        {"another baud rate", 3125, 0, {{0, 137, 137, 438400}}},
        {"a buffer of 8 holds 8 bytes beside the one on the wire; later, room for what left",
         31250,
         8,
         {{0, 20, 9, 2880}, {960, 5, 3, 3840}, {3840, 10, 9, 6720}}},
        {"a full buffer loses all that comes", 31250, 2, {{0, 3, 3, 960}, {100, 4, 0, 960}}},
    };
    for (const tWireCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        cMidiWire Wire(Case.uiBaud, Case.uiBuffer);
        const cMidiWire::tTime Start{std::chrono::seconds(1)};
        for (const tCarry& Carry : Case.Carries) {
            SCOPED_TRACE(Carry.iAtUs);
            const cMidiWire::tCrossing Crossing =
                Wire.Carry(Start + microseconds(Carry.iAtUs), Carry.uiBytes);
            EXPECT_EQ(Crossing.Kept, Carry.uiKept);
            EXPECT_EQ(Crossing.Lost, Carry.uiBytes - Carry.uiKept);
            if (Crossing.Kept != 0) {
                EXPECT_EQ(Crossing.Across, Start + microseconds(Carry.iAcrossUs));
            }
        }
    }
}
