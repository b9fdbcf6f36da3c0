#pragma once

#include <cstdint>

// The state of one song's transfer. The stop states end the steps for the current song.
enum tX10State : int32_t {
    X10_PORT_CLOSED = 1,
    X10_READY = 2,
    X10_SEND_HEADER = 3,
    X10_PREPARE_PACKET = 4,
    X10_SEND_PACKET = 5,
    X10_RESEND_PACKET = 6,
    X10_WAIT_ACK = 7,
    X10_FINISH = 8,
    X10_CANCELLED = 9,
    X10_ERROR = 10,
    X10_SEND_LAST = 11,
    X10_DONE = 12,
    X10_MISMATCH = 13,
    X10_WAIT_PORTS = 14,
    X10_WAIT_TIMEOUT = 15,
    X10_TIMED_OUT = 16,
};

inline bool IsStopState(tX10State eState) {
    return eState == X10_CANCELLED || eState == X10_ERROR || eState == X10_DONE ||
           eState == X10_MISMATCH || eState == X10_TIMED_OUT;
}

// Handshake bytes of the device's generic handshaking replies.
inline constexpr uint8_t HS_NONE = 0x00;
inline constexpr uint8_t HS_EOF = 0x7B;
inline constexpr uint8_t HS_WAIT = 0x7C;
inline constexpr uint8_t HS_CANCEL = 0x7D;
inline constexpr uint8_t HS_NAK = 0x7E;
inline constexpr uint8_t HS_ACK = 0x7F;
inline constexpr uint8_t HS_REFUSED = 0xFF;
