#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An encoder of the sender's side, written apart from the device code so that the tests check
// the device against an independent reading of the message formats.
namespace FileDump {

using Bytes = std::vector<uint8_t>;

inline constexpr size_t kPacketBytes = 112;

inline Bytes Header(const std::string& Name, uint32_t dwLength, const std::string& Type = "MIDI",
                    uint8_t ucDevice = 0x23) {
    Bytes Message{0xF0, 0x7E, ucDevice, 0x07, 0x01, 0x00};
    Message.insert(Message.end(), Type.begin(), Type.end());
    for (int iShift = 0; iShift < 28; iShift += 7) {
        Message.push_back(static_cast<uint8_t>((dwLength >> iShift) & 0x7F));
    }
    Message.insert(Message.end(), Name.begin(), Name.end());
    Message.push_back(0xF7);
    return Message;
}

// Each group of up to 7 bytes: a byte gathering their top bits (first byte's in bit 6), then
// the bytes themselves without their top bit.
inline Bytes Encode(const Bytes& Data) {
    Bytes Encoded;
    for (size_t uiGroup = 0; uiGroup < Data.size(); uiGroup += 7) {
        uint8_t ucTopBits = 0;
        Bytes Lows;
        for (size_t i = uiGroup; i < Data.size() && i < uiGroup + 7; ++i) {
            if (Data[i] >= 0x80) {
                ucTopBits = static_cast<uint8_t>(ucTopBits | (0x40 >> (i - uiGroup)));
            }
            Lows.push_back(Data[i] & 0x7F);
        }
        Encoded.push_back(ucTopBits);
        Encoded.insert(Encoded.end(), Lows.begin(), Lows.end());
    }
    return Encoded;
}

// Sets the checksum byte (second to last) so that everything between F0 and F7 XORs to 0.
inline void Seal(Bytes& Message) {
    uint8_t ucSum = 0;
    for (size_t i = 1; i + 2 < Message.size(); ++i) {
        ucSum ^= Message[i];
    }
    Message[Message.size() - 2] = ucSum & 0x7F;
}

inline Bytes DataPacket(uint32_t uiIndex, const Bytes& Data) {
    const Bytes Encoded = Encode(Data);
    Bytes Message{0xF0,
                  0x7E,
                  0x23,
                  0x07,
                  0x02,
                  static_cast<uint8_t>(uiIndex % 128),
                  static_cast<uint8_t>((Encoded.size() - 1) % 128)};
    Message.insert(Message.end(), Encoded.begin(), Encoded.end());
    Message.push_back(0x00);
    Message.push_back(0xF7);
    Seal(Message);
    return Message;
}

inline Bytes EndOfFile(uint32_t uiIndex) {
    return {0xF0, 0x7E, 0x23, 0x7B, static_cast<uint8_t>(uiIndex % 128), 0xF7};
}

inline Bytes PacketData(const Bytes& File, uint32_t uiIndex) {
    const size_t uiStart = (uiIndex - 1) * kPacketBytes;
    const size_t uiEnd = std::min(File.size(), uiStart + kPacketBytes);
    return Bytes(File.begin() + static_cast<std::ptrdiff_t>(uiStart),
                 File.begin() + static_cast<std::ptrdiff_t>(uiEnd));
}

inline uint32_t DataPacketCount(const Bytes& File) {
    return static_cast<uint32_t>((File.size() + kPacketBytes - 1) / kPacketBytes);
}

// Header, data packets 1..D and the end-of-file message numbered D + 1.
inline std::vector<Bytes> WholeFile(const std::string& Name, const Bytes& File) {
    std::vector<Bytes> Messages{Header(Name, static_cast<uint32_t>(File.size()))};
    const uint32_t uiPackets = DataPacketCount(File);
    for (uint32_t k = 1; k <= uiPackets; ++k) {
        Messages.push_back(DataPacket(k, PacketData(File, k)));
    }
    Messages.push_back(EndOfFile(uiPackets + 1));
    return Messages;
}

inline Bytes Handshake(uint8_t ucHandshake, uint8_t ucNumber, uint8_t ucDevice = 0x42) {
    return {0xF0, 0x7E, ucDevice, ucHandshake, ucNumber, 0xF7};
}

// Song-like bytes: every value from 0x00 to 0xFF turns up, so that top bits are exercised.
inline Bytes SongBytes(size_t uiSize) {
    Bytes File(uiSize);
    for (size_t i = 0; i < uiSize; ++i) {
        File[i] = static_cast<uint8_t>((i * 37 + i / 256) & 0xFF);
    }
    return File;
}

}  // namespace FileDump
