#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "transfer/FileDumpMessages.h"

using Bytes = std::vector<uint8_t>;

namespace {

uint8_t XorBetweenStartAndEnd(const Bytes& Message) {
    return std::accumulate(Message.begin() + 1, Message.end() - 1, uint8_t{0},
                           [](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a ^ b); });
}

// Undoes the 7-bit groups of a data packet, independently of the encoder.
Bytes Decode(const Bytes& Message) {
    Bytes Data;
    const size_t uiEnd = Message.size() - 2;  // before checksum and 0xF7
    for (size_t i = 7; i < uiEnd;) {
        const uint8_t ucHigh = Message[i++];
        for (int k = 0; k < 7 && i < uiEnd; ++k) {
            Data.push_back(static_cast<uint8_t>(Message[i++] | (((ucHigh >> (6 - k)) & 1) << 7)));
        }
    }
    return Data;
}

}  // namespace

TEST(FileDumpMessages, the_header_carries_the_size_in_7_bit_groups_and_the_name) {
    EXPECT_EQ(FileDump::BuildHeader(1000, "SONG"),
              (Bytes{0xF0, 0x7E, 0x23, 0x07, 0x01, 0x00, 0x4D, 0x49, 0x44, 0x49, 0x68, 0x07, 0x00,
                     0x00, 0x53, 0x4F, 0x4E, 0x47, 0xF7}));
    const Bytes Empty = FileDump::BuildHeader(0, "");
    EXPECT_EQ(Empty.size(), 15u);
    EXPECT_EQ(Bytes(Empty.begin() + 10, Empty.begin() + 14), (Bytes{0, 0, 0, 0}));
    const Bytes Large = FileDump::BuildHeader(0x0FFFFFFF, "A");
    EXPECT_EQ(Bytes(Large.begin() + 10, Large.begin() + 14), (Bytes{0x7F, 0x7F, 0x7F, 0x7F}));
}

TEST(FileDumpMessages, a_data_packet_groups_seven_bytes_under_their_top_bits) {
    const uint8_t aucNote[] = {0x90, 0x3C, 0x7F};
    EXPECT_EQ(
        FileDump::BuildDataPacket(1, aucNote, 3),
        (Bytes{0xF0, 0x7E, 0x23, 0x07, 0x02, 0x01, 0x03, 0x40, 0x10, 0x3C, 0x7F, 0x49, 0xF7}));
}

struct tPacketCase {
    int n;
    int32_t iCounter;
    size_t uiLength;
    uint8_t ucCount;
    uint8_t ucNumber;
};

TEST(FileDumpMessages, data_packets_have_the_right_size_count_number_and_checksum) {
    const tPacketCase aCases[] = {
        {1, 2, 11, 0x01, 2},        {6, 1, 16, 0x06, 1},      {7, 1, 17, 0x07, 1},
        {8, 1, 19, 0x09, 1},        {14, 1, 25, 0x0F, 1},     {112, 1, 137, 0x7F, 1},
        {112, 127, 137, 0x7F, 127}, {112, 128, 137, 0x7F, 0}, {50, 129, 67, 0x39, 1},
    };
    for (const tPacketCase& Case : aCases) {
        SCOPED_TRACE(testing::Message() << "n=" << Case.n << " counter=" << Case.iCounter);
        Bytes Data(static_cast<size_t>(Case.n));
        for (int i = 0; i < Case.n; ++i) {
            Data[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 37 + 0x81);
        }
        const Bytes Message = FileDump::BuildDataPacket(Case.iCounter, Data.data(), Case.n);
        ASSERT_EQ(Message.size(), Case.uiLength);
        EXPECT_EQ(Message[5], Case.ucNumber);
        EXPECT_EQ(Message[6], Case.ucCount);
        EXPECT_EQ(XorBetweenStartAndEnd(Message), 0);
        EXPECT_EQ(Message.back(), 0xF7);
        for (size_t i = 1; i + 1 < Message.size(); ++i) {
            EXPECT_EQ(Message[i] & 0x80, 0) << "byte " << i;
        }
        EXPECT_EQ(Decode(Message), Data);
    }
}

TEST(FileDumpMessages, the_end_of_file_message_carries_the_wire_number) {
    EXPECT_EQ(FileDump::BuildEndOfFile(1), (Bytes{0xF0, 0x7E, 0x23, 0x7B, 0x01, 0xF7}));
    EXPECT_EQ(FileDump::BuildEndOfFile(130), (Bytes{0xF0, 0x7E, 0x23, 0x7B, 0x02, 0xF7}));
}

TEST(FileDumpMessages, the_packet_total_counts_data_packets_header_and_end_of_file) {
    const std::pair<uint32_t, int32_t> aCases[] = {
        {0, 2}, {1, 3}, {112, 3}, {113, 4}, {224, 4}, {100000, 895}, {0xFFFFFFFF, 38347925},
    };
    for (const auto& [dwSize, iTotal] : aCases) {
        EXPECT_EQ(FileDump::PacketTotal(dwSize), iTotal) << dwSize;
    }
}
