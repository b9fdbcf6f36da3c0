#include "app/TransferOptions.h"

#include "app/AppTexts.h"
#include "app/TransferSettings.h"

namespace TransferOptions {

tIntervalCheck CheckPacketInterval(int32_t iInterval, bool bBlindTransfer) {
    const int32_t iDefault = kDefaultTransferSettings.iTimeBetweenPackets;
    if (iInterval > kMaxPacketInterval || iInterval < kMinPacketInterval) {
        return {iDefault, AppTexts::kIntervalOutOfRange, AppTexts::kIntervalOutOfRangeCaption};
    }
    if (bBlindTransfer && iInterval < kMinBlindPacketInterval) {
        return {iDefault, AppTexts::kIntervalTooShortForBlind, ""};
    }
    return {iInterval, nullptr, nullptr};
}

}  // namespace TransferOptions
