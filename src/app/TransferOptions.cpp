#include "app/TransferOptions.h"

namespace TransferOptions {

tIntervalCheck CheckPacketInterval(int32_t iInterval, bool bBlindTransfer) {
    if (iInterval > kMaxPacketInterval || iInterval < kMinPacketInterval) {
        return {kDefaultPacketInterval, kIntervalOutOfRange, kIntervalOutOfRangeCaption};
    }
    if (bBlindTransfer && iInterval < kMinBlindPacketInterval) {
        return {kDefaultPacketInterval, kIntervalTooShortForBlind, ""};
    }
    return {iInterval, nullptr, nullptr};
}

}  // namespace TransferOptions
