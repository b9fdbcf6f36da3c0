#pragma once

#include <cstdint>

// The rules of the transfer options that the user may change: the time between packets (the
// step interval).
namespace TransferOptions {

inline constexpr int32_t kMinPacketInterval = 5;
inline constexpr int32_t kMaxPacketInterval = 150;
// A blind send gives the device no way to slow the sender down.
inline constexpr int32_t kMinBlindPacketInterval = 25;

// The interval to use, and the message (with its caption) that explains a correction, if any.
struct tIntervalCheck {
    int32_t iInterval;
    const char* szMessage;
    const char* szCaption;
};

tIntervalCheck CheckPacketInterval(int32_t iInterval, bool bBlindTransfer);

}  // namespace TransferOptions
