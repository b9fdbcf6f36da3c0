#pragma once

#include <cstdint>

// The bytes that open and close a System Exclusive message, and the ID of the universal
// non-real-time messages (among them the File Dump ones and their handshakes).
inline constexpr uint8_t kSysexStart = 0xF0;
inline constexpr uint8_t kSysexEnd = 0xF7;
inline constexpr uint8_t kNonRealTime = 0x7E;
