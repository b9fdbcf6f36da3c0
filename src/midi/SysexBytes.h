#pragma once

#include <cstdint>

// The bytes that open and close a System Exclusive message, and the ID of the universal
// non-real-time messages (among them the File Dump ones and their handshakes).
inline constexpr uint8_t kSysexStart = 0xF0;
inline constexpr uint8_t kSysexEnd = 0xF7;
inline constexpr uint8_t kNonRealTime = 0x7E;

// The File Dump sub-ID and the kinds of message under it.
inline constexpr uint8_t kFileDump = 0x07;
inline constexpr uint8_t kFileDumpHeader = 0x01;
inline constexpr uint8_t kFileDumpDataPacket = 0x02;

// The generic handshaking messages, each a sub-ID of its own: F0 7E <device> <handshake>
// <packet number> F7. The sender's end-of-file message is HANDSHAKE_EOF too.
enum tHandshake : uint8_t {
    HANDSHAKE_EOF = 0x7B,
    HANDSHAKE_WAIT = 0x7C,
    HANDSHAKE_CANCEL = 0x7D,
    HANDSHAKE_NAK = 0x7E,
    HANDSHAKE_ACK = 0x7F,
};
