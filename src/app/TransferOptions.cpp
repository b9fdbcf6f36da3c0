#include "app/TransferOptions.h"

#include "app/TransferSettings.h"

namespace TransferOptions {

tIntervalCheck CheckPacketInterval(int32_t iInterval, bool bBlindTransfer) {
    if (iInterval > kMaxPacketInterval || iInterval < kMinPacketInterval) {
        return {kDefaultTransferSettings.iTimeBetweenPackets, kIntervalOutOfRange,
                kIntervalOutOfRangeCaption};
    }
    if (bBlindTransfer && iInterval < kMinBlindPacketInterval) {
        return {kDefaultTransferSettings.iTimeBetweenPackets, kIntervalTooShortForBlind, ""};
    }
    return {iInterval, nullptr, nullptr};
}

}  // namespace TransferOptions
