#pragma once

#include <cstdint>
#include <string>

// The rules of the transfer options that the user may change, one check per option for both
// front ends: the time between packets (the step interval), the time between songs and the
// reply time-out. A value outside its range is replaced by the start value.
namespace TransferOptions {

struct tRange {
    int32_t iMin;
    int32_t iMax;
};

inline constexpr tRange kPacketIntervalRange{5, 150};
// A blind send gives the device no way to slow the sender down.
inline constexpr int32_t kMinBlindPacketInterval = 25;
inline constexpr tRange kSongIntervalRange{1, 60000};
inline constexpr tRange kTimeOutRange{1, INT32_MAX};

// The value to use, and the message (with its caption) that explains a correction, if any.
struct tOptionCheck {
    int32_t iValue;
    const char* szMessage;
    const char* szCaption;
};

tOptionCheck CheckPacketInterval(int32_t iInterval, bool bBlindTransfer);
tOptionCheck CheckSongInterval(int32_t iInterval);
tOptionCheck CheckTimeOut(int32_t iTimeOut);

// What a command line says of a value its option refuses: "a number from 1 to 60000".
std::string DescribeRange(tRange Range);

}  // namespace TransferOptions
