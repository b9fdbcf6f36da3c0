#pragma once

#include <cstdint>

// The variable-length quantity of the MIDI file format can hold values below 2^28 in its 4 bytes.
inline constexpr uint64_t kQuantityLimit = uint64_t{1} << 28;

// Writes a value below 2^28 as a quantity of 1 to 4 bytes (7 bits per byte, most significant
// group first, bit 7 set on every byte but the last) and returns the number of bytes.
inline int WriteQuantity(uint8_t* pucTarget, uint32_t dwValue) {
    uint32_t dwBuffer = dwValue & 0x7F;
    while ((dwValue >>= 7) != 0) {
        dwBuffer <<= 8;
        dwBuffer |= 0x80;
        dwBuffer += dwValue & 0x7F;
    }
    int iWritten = 0;
    while (true) {
        pucTarget[iWritten++] = static_cast<uint8_t>(dwBuffer);
        if ((dwBuffer & 0x80) == 0) {
            return iWritten;
        }
        dwBuffer >>= 8;
    }
}
