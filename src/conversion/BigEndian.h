#pragma once

#include <cstdint>

inline uint32_t ReadBigEndian16(const uint8_t* pucBytes) {
    return (uint32_t{pucBytes[0]} << 8) | pucBytes[1];
}

inline uint32_t ReadBigEndian32(const uint8_t* pucBytes) {
    return (uint32_t{pucBytes[0]} << 24) | (uint32_t{pucBytes[1]} << 16) |
           (uint32_t{pucBytes[2]} << 8) | pucBytes[3];
}

inline void WriteBigEndian32(uint8_t* pucBytes, uint32_t dwValue) {
    pucBytes[0] = static_cast<uint8_t>(dwValue >> 24);
    pucBytes[1] = static_cast<uint8_t>(dwValue >> 16);
    pucBytes[2] = static_cast<uint8_t>(dwValue >> 8);
    pucBytes[3] = static_cast<uint8_t>(dwValue);
}
