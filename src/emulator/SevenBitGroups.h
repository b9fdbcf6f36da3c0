#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// File bytes travel in groups of up to 7: a high-bits byte (bit 6 holds bit 7 of the group's
// first byte, bit 0 that of the seventh) followed by the group's bytes with bit 7 cleared.
struct tDecodedBytes {
    bool Decoded = false;
    std::vector<uint8_t> Data;
    std::string Fault;  // why the encoded bytes are not a valid sequence of groups
};

tDecodedBytes DecodeSevenBitGroups(std::span<const uint8_t> Encoded);

// XOR of the given bytes: a data packet's checksum covers everything between F0 and it.
uint8_t XorChecksum(std::span<const uint8_t> Bytes);
