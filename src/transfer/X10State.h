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

// The handshake last acted on, where it is no protocol byte (those are tHandshake, in the MIDI
// layer's SysEx header): none yet, and a device that answered with 0xFF.
inline constexpr uint8_t kNoHandshakeYet = 0x00;
inline constexpr uint8_t kRefusingHandshake = 0xFF;
