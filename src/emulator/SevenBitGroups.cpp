#include "emulator/SevenBitGroups.h"

#include <algorithm>

#include "emulator/HexText.h"

namespace {

constexpr size_t kGroupBytes = 7;

// The high-bits byte of a group of k bytes may only use its top k bits (of bits 6..0).
uint8_t UnusedHighBits(size_t uiGroupSize) {
    return static_cast<uint8_t>((1u << (kGroupBytes - uiGroupSize)) - 1);
}

}  // namespace

tDecodedBytes DecodeSevenBitGroups(std::span<const uint8_t> Encoded) {
    tDecodedBytes Result;
    Result.Data.reserve(Encoded.size());
    size_t uiPos = 0;
    while (uiPos < Encoded.size()) {
        const uint8_t ucHighBits = Encoded[uiPos];
        const size_t uiGroupSize = std::min(kGroupBytes, Encoded.size() - uiPos - 1);
        if (uiGroupSize == 0) {
            Result.Fault = "high-bits byte at the end of the data has no bytes after it";
            return Result;
        }
        if ((ucHighBits & UnusedHighBits(uiGroupSize)) != 0) {
            Result.Fault = "high-bits byte 0x" + Hex2(ucHighBits) +
                           " sets bits for bytes that its " + std::to_string(uiGroupSize) +
                           "-byte group lacks";
            return Result;
        }
        for (size_t i = 0; i < uiGroupSize; ++i) {
            const bool bHigh = (ucHighBits >> (kGroupBytes - 1 - i) & 1) != 0;
            Result.Data.push_back(
                static_cast<uint8_t>(Encoded[uiPos + 1 + i] | (bHigh ? 0x80 : 0)));
        }
        uiPos += uiGroupSize + 1;
    }
    Result.Decoded = true;
    return Result;
}

uint8_t XorChecksum(std::span<const uint8_t> Bytes) {
    uint8_t ucSum = 0;
    for (const uint8_t ucByte : Bytes) {
        ucSum ^= ucByte;
    }
    return ucSum;
}
