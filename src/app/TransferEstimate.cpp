#include "app/TransferEstimate.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "transfer/FileDumpMessages.h"

namespace {

constexpr int64_t kStepsPerPacket = 3;
constexpr int64_t kStepsPerSong = 8;

int64_t StepsFor(int32_t iPacketTotal) {
    const int64_t iDataPackets = std::max<int64_t>(iPacketTotal - 2, 0);
    return iPacketTotal > 0 ? iDataPackets * kStepsPerPacket + kStepsPerSong : 0;
}

int64_t StepMs(const tTransferSettings& Settings) {
    return std::max<int64_t>(Settings.iTimeBetweenPackets, 1);
}

// With handshakes the time between songs is a pause before each further song; blind it is
// spent listening after each song, so it is part of the song's own time.
int64_t PauseBeforeSongMs(const tTransferSettings& Settings) {
    return Settings.bBlindTransfer ? 0 : Settings.iTimeBetweenSongs;
}

}  // namespace

uint32_t BlindListenSteps(const tTransferSettings& Settings) {
    if (!Settings.bBlindTransfer) {
        return 0;
    }
    const int64_t iStep = StepMs(Settings);
    return static_cast<uint32_t>((std::max<int64_t>(Settings.iTimeBetweenSongs, 1) + iStep - 1) /
                                 iStep);
}

int64_t EstimateSongMs(int32_t iPacketTotal, const tTransferSettings& Settings) {
    if (iPacketTotal <= 0) {
        return 0;
    }
    return (StepsFor(iPacketTotal) + BlindListenSteps(Settings)) * StepMs(Settings);
}

tTransferEstimate EstimateTransfer(const tTransferPlan& Plan) {
    tTransferEstimate Estimate;
    bool bFirstSong = true;
    for (const std::filesystem::path& X10Path : Plan.X10Paths) {
        std::error_code Error;
        const uintmax_t uiBytes = X10Path.empty() ? 0 : std::filesystem::file_size(X10Path, Error);
        const int32_t iTotal =
            X10Path.empty() || Error ? 0 : FileDump::PacketTotal(static_cast<uint32_t>(uiBytes));
        Estimate.PacketTotals.push_back(iTotal);
        if (iTotal > 0) {
            Estimate.iTotalMs += EstimateSongMs(iTotal, Plan.Settings) +
                                 (bFirstSong ? 0 : PauseBeforeSongMs(Plan.Settings));
            bFirstSong = false;
        }
    }
    return Estimate;
}

int64_t EstimateTimeLeftMs(const tTransferEstimate& Estimate, const tTransferSettings& Settings,
                           int32_t iCurrentSong, int32_t iPacketsSent) {
    int64_t iLeft = 0;
    for (size_t i = static_cast<size_t>(std::max(iCurrentSong, 0));
         i < Estimate.PacketTotals.size(); ++i) {
        const int32_t iTotal = Estimate.PacketTotals[i];
        if (iTotal == 0) {
            continue;
        }
        if (static_cast<int32_t>(i) == iCurrentSong) {
            const int64_t iDone = std::clamp<int64_t>(iPacketsSent, 0, iTotal) * kStepsPerPacket;
            iLeft +=
                std::max<int64_t>(EstimateSongMs(iTotal, Settings) / StepMs(Settings) - iDone, 0) *
                StepMs(Settings);
        } else {
            iLeft += EstimateSongMs(iTotal, Settings) + PauseBeforeSongMs(Settings);
        }
    }
    return iLeft;
}

std::string DescribeDuration(int64_t iMilliseconds) {
    char acText[32];
    if (iMilliseconds < 10000) {
        std::snprintf(acText, sizeof acText, "%.1f s", static_cast<double>(iMilliseconds) / 1000.0);
    } else if (iMilliseconds < 60000) {
        std::snprintf(acText, sizeof acText, "%lld s",
                      static_cast<long long>(iMilliseconds / 1000));
    } else {
        std::snprintf(acText, sizeof acText, "%lld min %lld s",
                      static_cast<long long>(iMilliseconds / 60000),
                      static_cast<long long>(iMilliseconds / 1000 % 60));
    }
    return acText;
}
