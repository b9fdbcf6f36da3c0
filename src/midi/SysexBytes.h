#pragma once

#include <cstdint>

// The bytes that open and close a System Exclusive message, and the ID of the universal
// non-real-time messages (among them the File Dump ones and their handshakes).
inline constexpr uint8_t kSysexStart = 0xF0;
inline constexpr uint8_t kSysexEnd = 0xF7;
inline constexpr uint8_t kNonRealTime = 0x7E;

// The File Dump sub-ID and the kinds of message under it; the end-of-file message is a
// handshake, with a sub-ID of its own.
inline constexpr uint8_t kFileDump = 0x07;
inline constexpr uint8_t kFileDumpHeader = 0x01;
inline constexpr uint8_t kFileDumpDataPacket = 0x02;
inline constexpr uint8_t kFileDumpEndOfFile = 0x7B;
