#include "emulator/StormReplies.h"

namespace {

constexpr size_t kHandshakeByte = 3;
constexpr size_t kNumberByte = 4;

void Delay(std::vector<tDeviceReply>& Replies, uint32_t uiMs) {
    for (tDeviceReply& Reply : Replies) {
        Reply.DelayMs += uiMs;
    }
}

// The number byte of every reply that carries a packet number goes back by one, 7-bit.
bool NumberBefore(std::vector<tDeviceReply>& Replies) {
    bool bChanged = false;
    for (tDeviceReply& Reply : Replies) {
        std::vector<uint8_t>& Bytes = Reply.Message;
        if (Bytes.size() > kNumberByte && Bytes[kHandshakeByte] != HANDSHAKE_CANCEL) {
            Bytes[kNumberByte] = static_cast<uint8_t>((Bytes[kNumberByte] - 1) & 0x7F);
            bChanged = true;
        }
    }
    return bChanged;
}

}  // namespace

bool ShapeReplies(const tStormFault& Fault, uint8_t ucNumber, uint8_t ucDeviceByte,
                  std::vector<tDeviceReply>& Replies) {
    if (Replies.empty()) {
        return false;
    }
    const uint32_t uiFirstDelayMs = Replies.front().DelayMs;
    switch (Fault.Kind) {
        case FAULT_SILENT:
            Replies.clear();
            return true;
        case FAULT_WAIT:
            Delay(Replies, Fault.DelayMs);
            Replies.insert(Replies.begin(),
                           {MakeHandshake(ucDeviceByte, HANDSHAKE_WAIT, ucNumber), uiFirstDelayMs});
            return true;
        case FAULT_LATE:
            Delay(Replies, Fault.DelayMs);
            return true;
        case FAULT_TWICE: {
            const std::vector<tDeviceReply> Once = Replies;
            Replies.insert(Replies.end(), Once.begin(), Once.end());
            return true;
        }
        case FAULT_NUMBER_BEFORE:
            return NumberBefore(Replies);
        case FAULT_NOISE:
            Replies.insert(Replies.begin(), {Fault.NoiseBytes, uiFirstDelayMs});
            return true;
        default:
            return false;
    }
}
