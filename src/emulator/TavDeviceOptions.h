#pragma once

#include <cstdint>
#include <filesystem>

// How the emulated device behaves: where it stores songs and which faults it injects. Every
// fault is deterministic, so that a test can predict each reply; the fault storm's, too, for a
// given seed and the same messages. Packet indices count the
// data packets of one file from 1; index 0 stands for the file's header.
struct tTavDeviceOptions {
    static constexpr int32_t kNever = -1;

    std::filesystem::path StoreFolder = ".";
    uint8_t DeviceByte = 0x42;    // device byte of every reply
    bool bBlind = false;          // never reply
    uint32_t uiNakEvery = 0;      // NAK the first arrival of every Nth data packet; 0: never
    int32_t iCancelAt = kNever;   // answer this packet with CANCEL
    uint8_t ucCancelReason = 0;   // reason code that the CANCEL carries
    int32_t EofAt = kNever;       // answer this packet with EOF, ending the file unstored
    int32_t iWaitAt = kNever;     // answer this packet with WAIT, then ACK it later
    uint32_t uiWaitMs = 200;      // how much later the ACK follows the WAIT
    uint32_t DropReplyEvery = 0;  // stay silent instead of every Nth reply; 0: never
    uint32_t uiReplyDelayMs = 0;  // every reply leaves this long after its message arrived
    bool bAckEof = false;         // acknowledge the end-of-file message
    bool bWrongNumber = false;    // ACKs carry the number after the right one
    uint64_t StormSeed = 0;       // the fault storm's seed
    uint32_t StormRate = 0;       // its chance per answered message, in millionths; 0: calm
};
