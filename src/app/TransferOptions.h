#pragma once

#include <cstdint>

// The rules and texts of the transfer options that the user may change: the time between
// packets (the step interval), and the device commands that need a valid output device.
namespace TransferOptions {

inline constexpr int32_t kMinPacketInterval = 5;
inline constexpr int32_t kMaxPacketInterval = 150;
// A blind send gives the device no way to slow the sender down.
inline constexpr int32_t kMinBlindPacketInterval = 25;

inline constexpr const char* kIntervalOutOfRange =
    "Invalid Value for Time between packets, please choose a value between 5 and 150";
inline constexpr const char* kIntervalOutOfRangeCaption = "Error...";
inline constexpr const char* kIntervalTooShortForBlind =
    "Invalid value for time between packets - with blind transfer use no less than 25 ms";
inline constexpr const char* kInvalidOutputPort = "You have specified an invalid output port";
inline constexpr const char* kUnlockQuestion =
    "This option will allow you to delete the default songs. Are you sure you want to do this? "
    "Orvik30 must have version 1.04.00.03 or later. Melko30 must have version 1.04.02.03 or later";
inline constexpr const char* kUnlockCaption = "Unlock Default Songs";

// The interval to use, and the message (with its caption) that explains a correction, if any.
struct tIntervalCheck {
    int32_t iInterval;
    const char* szMessage;
    const char* szCaption;
};

tIntervalCheck CheckPacketInterval(int32_t iInterval, bool bBlindTransfer);

}  // namespace TransferOptions
