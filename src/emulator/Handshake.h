#pragma once

#include <cstdint>
#include <vector>

#include "midi/SysexBytes.h"

// Reason codes that the device's CANCEL carries in place of a packet number.
enum tCancelReason : uint8_t {
    CANCEL_NO_MIDI_HEADER = 1,  // file length 0, or no "MIDI" type in the header
    CANCEL_NO_FREE_HASH = 2,
    CANCEL_FILE_OPEN_FAILED = 3,
    CANCEL_DATA_ERROR = 4,  // the device's text calls it a data checksum error
    CANCEL_MIDI_PARSER_LOCK = 5,
    CANCEL_DSP_PARSER_LOCK = 6,
};

inline std::vector<uint8_t> MakeHandshake(uint8_t ucDeviceByte, tHandshake eHandshake,
                                          uint8_t ucNumber) {
    return {
        kSysexStart, kNonRealTime, ucDeviceByte, eHandshake, static_cast<uint8_t>(ucNumber & 0x7F),
        kSysexEnd};
}

// One reply to send, and when: DelayMs after the message that caused it arrived.
struct tDeviceReply {
    std::vector<uint8_t> Message;
    uint32_t DelayMs = 0;
};
