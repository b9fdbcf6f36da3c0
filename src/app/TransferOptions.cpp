#include "app/TransferOptions.h"

#include "app/AppTexts.h"
#include "app/TransferSettings.h"

namespace TransferOptions {

namespace {

bool IsIn(int32_t iValue, tRange Range) {
    return iValue >= Range.iMin && iValue <= Range.iMax;
}

}  // namespace

tOptionCheck CheckPacketInterval(int32_t iInterval, bool bBlindTransfer) {
    const int32_t iDefault = kDefaultTransferSettings.iTimeBetweenPackets;
    if (!IsIn(iInterval, kPacketIntervalRange)) {
        return {iDefault, AppTexts::kIntervalOutOfRange, AppTexts::kOptionErrorCaption};
    }
    if (bBlindTransfer && iInterval < kMinBlindPacketInterval) {
        return {iDefault, AppTexts::kIntervalTooShortForBlind, ""};
    }
    return {iInterval, nullptr, nullptr};
}

tOptionCheck CheckSongInterval(int32_t iInterval) {
    if (!IsIn(iInterval, kSongIntervalRange)) {
        return {kDefaultTransferSettings.iTimeBetweenSongs, AppTexts::kSongIntervalOutOfRange,
                AppTexts::kOptionErrorCaption};
    }
    return {iInterval, nullptr, nullptr};
}

tOptionCheck CheckTimeOut(int32_t iTimeOut) {
    if (!IsIn(iTimeOut, kTimeOutRange)) {
        return {kDefaultTransferSettings.iTimeOut, AppTexts::kTimeOutOutOfRange,
                AppTexts::kOptionErrorCaption};
    }
    return {iTimeOut, nullptr, nullptr};
}

std::string DescribeRange(tRange Range) {
    if (Range.iMax == INT32_MAX) {
        return "a number of " + std::to_string(Range.iMin) + " or more";
    }
    return "a number from " + std::to_string(Range.iMin) + " to " + std::to_string(Range.iMax);
}

}  // namespace TransferOptions
