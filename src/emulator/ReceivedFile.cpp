#include "emulator/ReceivedFile.h"

#include <algorithm>

namespace {

// Songs are small; a header announcing more does not make the device reserve it up front.
constexpr uint32_t kMaxReserve = 1u << 20;

}  // namespace

cReceivedFile::cReceivedFile(std::string Name, uint32_t dwDeclaredBytes)
    : Name(std::move(Name)), dwDeclaredBytes(dwDeclaredBytes) {
    aucBytes.reserve(std::min(dwDeclaredBytes, kMaxReserve));
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
    ++uiResends;
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
    ++uiResends;
    return true;
}

bool cReceivedFile::TakeDuplicate(std::span<const uint8_t> Message) {
    if (LastPacket.empty() || !std::ranges::equal(Message, LastPacket)) {
        return false;
    }
    ++uiResends;
    return true;
}

bool cReceivedFile::Append(std::span<const uint8_t> Decoded, std::span<const uint8_t> Message) {
    if (Decoded.size() > dwDeclaredBytes - aucBytes.size()) {
        return false;
    }
    aucBytes.insert(aucBytes.end(), Decoded.begin(), Decoded.end());
    LastPacket.assign(Message.begin(), Message.end());
    ++uiDataPackets;
    return true;
}

tFileReport cReceivedFile::Report(bool bOk, std::string Verdict) const {
    tFileReport Result;
    Result.Name = Name;
    Result.Bytes = static_cast<uint32_t>(aucBytes.size());
    Result.DeclaredBytes = dwDeclaredBytes;
    Result.DataPackets = uiDataPackets;
    Result.Resends = uiResends;
    Result.Faults = Faults;
    Result.WireLostBytes = uiWireLostBytes;
    Result.bOk = bOk;
    Result.Verdict = std::move(Verdict);
    return Result;
}
