#include "transfer/FileDumpMessages.h"

#include "midi/SysexBytes.h"

namespace FileDump {

namespace {

constexpr uint8_t kSenderId = 0x00;

uint8_t WireNumber(int32_t iPacketCounter) {
    return static_cast<uint8_t>(iPacketCounter & 0x7F);
}

// Each group of up to 7 bytes: a byte with their top bits (first byte's in bit 6), then the
// bytes with bit 7 cleared.
void AppendSevenBitGroups(std::vector<uint8_t>& Message, const uint8_t* pucData, int n) {
    for (int iGroup = 0; iGroup < n; iGroup += 7) {
        const int iGroupLength = n - iGroup < 7 ? n - iGroup : 7;
        uint8_t ucHighBits = 0;
        for (int i = 0; i < iGroupLength; ++i) {
            ucHighBits |= static_cast<uint8_t>((pucData[iGroup + i] >> 7) << (6 - i));
        }
        Message.push_back(ucHighBits);
        for (int i = 0; i < iGroupLength; ++i) {
            Message.push_back(pucData[iGroup + i] & 0x7F);
        }
    }
}

}  // namespace

std::vector<uint8_t> BuildHeader(uint32_t dwFileSize, const std::string& Name) {
    std::vector<uint8_t> Message{kSysexStart, kNonRealTime, kDeviceId, kFileDump, kFileDumpHeader,
                                 kSenderId,   'M',          'I',       'D',       'I'};
    for (int iShift = 0; iShift < 28; iShift += 7) {
        Message.push_back(static_cast<uint8_t>((dwFileSize >> iShift) & 0x7F));
    }
    Message.insert(Message.end(), Name.begin(), Name.end());
    Message.push_back(kSysexEnd);
    return Message;
}

std::vector<uint8_t> BuildDataPacket(int32_t iPacketCounter, const uint8_t* pucData, int n) {
    const int iEncoded = n + (n + 6) / 7;
    std::vector<uint8_t> Message{kSysexStart,
                                 kNonRealTime,
                                 kDeviceId,
                                 kFileDump,
                                 kFileDumpDataPacket,
                                 WireNumber(iPacketCounter),
                                 static_cast<uint8_t>((iEncoded - 1) & 0x7F)};
    Message.reserve(static_cast<size_t>(iEncoded) + 9);
    AppendSevenBitGroups(Message, pucData, n);
    uint8_t ucChecksum = 0;
    for (size_t i = 1; i < Message.size(); ++i) {
        ucChecksum ^= Message[i];
    }
    Message.push_back(ucChecksum);
    Message.push_back(kSysexEnd);
    return Message;
}

std::vector<uint8_t> BuildEndOfFile(int32_t iPacketCounter) {
    return {kSysexStart, kNonRealTime, kDeviceId, HANDSHAKE_EOF, WireNumber(iPacketCounter),
            kSysexEnd};
}

int32_t PacketTotal(uint32_t dwFileSize) {
    return static_cast<int32_t>((uint64_t{dwFileSize} + 111) / 112 + 2);
}

}  // namespace FileDump
