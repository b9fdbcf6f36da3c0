#include "emulator/FaultStorm.h"

#include <iterator>

#include "midi/SysexBytes.h"

namespace {

// The faults a sender can recover from, drawn evenly.
constexpr tFaultKind kRecoverable[] = {FAULT_NAK,   FAULT_SILENT,        FAULT_WAIT,  FAULT_LATE,
                                       FAULT_TWICE, FAULT_NUMBER_BEFORE, FAULT_NOISE, FAULT_LOST};
constexpr uint64_t kRecoverableKinds = std::size(kRecoverable);
constexpr uint64_t kFatalOneIn = 20;

constexpr uint32_t kWaitMinMs = 100;
constexpr uint32_t kWaitMaxMs = 400;
constexpr uint32_t kLateMaxMs = 300;
constexpr uint8_t kMaxCancelReason = 6;
constexpr uint64_t kMaxNoiseBytes = 4;

// The noise bytes from one draw; F0 and F7 become F1 and F6, so that no noise opens or closes a
// System Exclusive message.
std::vector<uint8_t> NoiseBytes(uint64_t uiLength, uint64_t uiBits) {
    std::vector<uint8_t> Noise;
    for (uint64_t i = 0; i < uiLength; ++i) {
        auto ucByte = static_cast<uint8_t>(uiBits >> (8 * i));
        if (ucByte == kSysexStart || ucByte == kSysexEnd) {
            ucByte ^= 0x01;
        }
        Noise.push_back(ucByte);
    }
    return Noise;
}

}  // namespace

cFaultStorm::cFaultStorm(uint64_t uiSeed, uint32_t uiRate) : State(uiSeed), Rate(uiRate) {}

cFaultStorm cFaultStorm::Scripted(std::map<uint64_t, tFaultKind> KindByMessage, uint64_t uiSeed) {
    cFaultStorm Storm(uiSeed, 0);
    Storm.Script = std::move(KindByMessage);
    return Storm;
}

// splitmix64: small, fast, and the same on every platform and standard library.
uint64_t cFaultStorm::Draw() {
    uint64_t uiZ = (State += 0x9E3779B97F4A7C15ull);
    uiZ = (uiZ ^ (uiZ >> 30)) * 0xBF58476D1CE4E5B9ull;
    uiZ = (uiZ ^ (uiZ >> 27)) * 0x94D049BB133111EBull;
    return uiZ ^ (uiZ >> 31);
}

std::optional<tFaultKind> cFaultStorm::KindFor(uint64_t uiMessage, uint64_t uiChance,
                                               uint64_t uiPick) const {
    if (!Script.empty()) {
        const auto Found = Script.find(uiMessage);
        return Found == Script.end() ? std::nullopt : std::optional(Found->second);
    }
    if (uiChance % kRateScale >= Rate) {
        return std::nullopt;
    }
    if (uiPick % kFatalOneIn == 0) {
        return (uiPick / kFatalOneIn) % 2 == 0 ? FAULT_CANCEL : FAULT_EOF;
    }
    return kRecoverable[(uiPick / kFatalOneIn) % kRecoverableKinds];
}

std::optional<tStormFault> cFaultStorm::Next() {
    const uint64_t uiChance = Draw();
    const uint64_t uiPick = Draw();
    const uint64_t uiAmount = Draw();
    const uint64_t uiBits = Draw();
    const std::optional<tFaultKind> eKind = KindFor(Messages++, uiChance, uiPick);
    if (!eKind) {
        return std::nullopt;
    }
    tStormFault Fault;
    Fault.Kind = *eKind;
    if (Fault.Kind == FAULT_WAIT) {
        Fault.DelayMs =
            kWaitMinMs + static_cast<uint32_t>(uiAmount % (kWaitMaxMs - kWaitMinMs + 1));
    } else if (Fault.Kind == FAULT_LATE) {
        Fault.DelayMs = static_cast<uint32_t>(uiAmount % (kLateMaxMs + 1));
    } else if (Fault.Kind == FAULT_CANCEL) {
        Fault.CancelReason = static_cast<uint8_t>(1 + uiAmount % kMaxCancelReason);
    } else if (Fault.Kind == FAULT_NOISE) {
        Fault.NoiseBytes = NoiseBytes(1 + uiAmount % kMaxNoiseBytes, uiBits);
    }
    return Fault;
}
