#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The File Dump messages that carry a song file to the device: the header, the numbered data
// packets of up to 112 file bytes in 7-bit groups with an XOR checksum, and the end-of-file
// message.
namespace FileDump {

inline constexpr uint8_t kDeviceId = 0x23;
inline constexpr int kBytesPerPacket = 112;
inline constexpr int kMaxNameLength = 12;
inline constexpr int kEndOfFileLength = 6;

std::vector<uint8_t> BuildHeader(uint32_t dwFileSize, const std::string& Name);
// n file bytes (1 to 112) become a message of n + ceil(n / 7) + 9 bytes.
std::vector<uint8_t> BuildDataPacket(int32_t iPacketCounter, const uint8_t* pucData, int n);
std::vector<uint8_t> BuildEndOfFile(int32_t iPacketCounter);

// The packet total the progress shows: the data packets plus the header and end-of-file message.
int32_t PacketTotal(uint32_t dwFileSize);

}  // namespace FileDump
