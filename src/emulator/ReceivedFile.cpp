#include "emulator/ReceivedFile.h"

#include <algorithm>

namespace {

// Songs are small; a header announcing more does not make the device reserve it up front.
constexpr uint32_t kMaxReserve = 1u << 20;

}  // namespace

cReceivedFile::cReceivedFile(std::string Name, uint32_t dwDeclaredBytes)
    : Name(std::move(Name)), DeclaredSize(dwDeclaredBytes) {
    FileBytes.reserve(std::min(dwDeclaredBytes, kMaxReserve));
}

void cReceivedFile::ExpectResendOf(uint8_t ucNumber) {
    AwaitingResend = true;
    NakedNumber = ucNumber;
}

bool cReceivedFile::TakeResend(uint8_t ucNumber) {
    if (!AwaitingResend || ucNumber != NakedNumber) {
        return false;
    }
    AwaitingResend = false;
    ++ResendCount;
    return true;
}

void cReceivedFile::ExpectHeaderAgain(std::span<const uint8_t> Header) {
    NakedHeader.assign(Header.begin(), Header.end());
}

bool cReceivedFile::TakeHeaderAgain(std::span<const uint8_t> Header) {
    if (!AwaitsHeaderAgain() || !std::ranges::equal(Header, NakedHeader)) {
        return false;
    }
    NakedHeader.clear();
    ++ResendCount;
    return true;
}

bool cReceivedFile::TakeDuplicate(std::span<const uint8_t> Message) {
    if (LastPacket.empty() || !std::ranges::equal(Message, LastPacket)) {
        return false;
    }
    ++ResendCount;
    return true;
}

bool cReceivedFile::Append(std::span<const uint8_t> Decoded, std::span<const uint8_t> Message) {
    if (Decoded.size() > DeclaredSize - FileBytes.size()) {
        return false;
    }
    FileBytes.insert(FileBytes.end(), Decoded.begin(), Decoded.end());
    LastPacket.assign(Message.begin(), Message.end());
    ++DataPacketCount;
    return true;
}

tFileReport cReceivedFile::Report(bool bOk, std::string Verdict) const {
    return {.Name = Name,
            .Bytes = static_cast<uint32_t>(FileBytes.size()),
            .DeclaredBytes = DeclaredSize,
            .DataPackets = DataPacketCount,
            .Resends = ResendCount,
            .Faults = Faults,
            .WireLostBytes = WireLostByteCount,
            .bOk = bOk,
            .Verdict = std::move(Verdict),
            .StoredPath = {}};
}
