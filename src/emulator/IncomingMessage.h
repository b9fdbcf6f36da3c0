#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// What a whole incoming MIDI message is, as far as the device is concerned.
enum tMessageKind : uint8_t {
    MSG_FILE_HEADER,     // File Dump header
    MSG_DATA_PACKET,     // File Dump data packet
    MSG_END_OF_FILE,     // end-of-file handshake sent to the device
    MSG_DEVICE_COMMAND,  // default-song unlock or lock command
    MSG_FOREIGN,         // anything else: not for this device, or not understood
};

// The fields of a header: F0 7E 23 07 01 <sender> <type: 4> <length: 4 x 7 bits> <name> F7.
struct tHeaderFields {
    std::string Type;
    uint32_t Length = 0;
    std::string Name;
};

// The fields of a data packet: F0 7E 23 07 02 <number> <count> <encoded> <checksum> F7.
struct tDataPacketFields {
    uint8_t Number = 0;
    uint8_t CountByte = 0;
    uint8_t Checksum = 0;
    std::span<const uint8_t> Encoded;  // points into the message
    std::span<const uint8_t> Summed;   // the bytes that the checksum covers
};

// Default-song commands: F0 08 <42 first | 43 second> 53 <01 unlock | 00 lock> F7.
struct tDeviceCommand {
    bool Unlock = false;
    bool SecondHalf = false;
};

struct tIncomingMessage {
    tMessageKind Kind = MSG_FOREIGN;
    // For MSG_FOREIGN: why the device does not take the message. For the other kinds: set when
    // the message has the kind's shape but is malformed (wrong size, a byte with bit 7 set).
    std::string Fault;
    tHeaderFields Header;
    tDataPacketFields Packet;
    uint8_t EofNumber = 0;
    tDeviceCommand Command;
};

inline constexpr uint8_t kTavDeviceId = 0x23;

// Sorts one whole message (a SysEx from F0 to F7, as a MIDI API delivers it, or any other
// message) and splits it into its fields. Never reads outside the given bytes.
tIncomingMessage ParseIncomingMessage(std::span<const uint8_t> Message);
