#include "app/TransferEstimate.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "transfer/FileDumpMessages.h"

namespace {

constexpr int64_t kStepsPerPacket = 3;
constexpr int64_t kStepsPerSong = 8;
// Paced on acknowledgement: the steps that open the ports and send the header, and the one
// that closes them.
constexpr int64_t kStepsBeforeHeaderReply = 4;
constexpr int64_t kStepsAfterEndOfFile = 1;
constexpr int64_t kWireUsPerByte = 320;  // 10 bits at 31250 baud
constexpr int64_t kReplyBytes = 6;
constexpr int64_t kLongestHeader = 15 + FileDump::kMaxNameLength;

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

// The bytes on the wire, both ways, of the song's messages before message iMessage (0: the
// header, k: data packet k) with their replies; the end-of-file message is not answered.
int64_t WireBytesBefore(uint32_t uiSongBytes, int32_t iMessage) {
    if (iMessage <= 0) {
        return 0;
    }
    const int64_t iDataPackets = FileDump::PacketTotal(uiSongBytes) - 2;
    const int64_t iData = std::min<int64_t>(iMessage - 1, iDataPackets);
    const int64_t iDataBytes = std::min<int64_t>(iData * FileDump::kBytesPerPacket, uiSongBytes);
    // Only the last data packet can be short, and a full one holds whole groups of seven.
    const int64_t iEncoded = iDataBytes + (iDataBytes + 6) / 7;
    int64_t iBytes = kLongestHeader + kReplyBytes + iData * (9 + kReplyBytes) + iEncoded;
    if (iMessage > iDataPackets + 1) {
        iBytes += FileDump::kEndOfFileLength;
    }
    return iBytes;
}

int64_t WireMs(int64_t iBytes) {
    return iBytes * kWireUsPerByte / 1000;
}

// The part of a song's time that iPacketsSent of its packets took.
int64_t SongDoneMs(uint32_t uiSongBytes, int32_t iPacketsSent, const tTransferSettings& Settings) {
    const int32_t iSent = std::clamp(iPacketsSent, 0, FileDump::PacketTotal(uiSongBytes));
    if (!PacedOnAcknowledgement(Settings)) {
        return iSent * kStepsPerPacket * StepMs(Settings);
    }
    return iSent == 0 ? 0
                      : kStepsBeforeHeaderReply * StepMs(Settings) +
                            WireMs(WireBytesBefore(uiSongBytes, iSent));
}

}  // namespace

std::string EstimateBasis(const tTransferSettings& Settings) {
    return PacedOnAcknowledgement(Settings) ? kAtCableSpeed : "";
}

uint32_t BlindListenSteps(const tTransferSettings& Settings) {
    if (!Settings.bBlindTransfer) {
        return 0;
    }
    const int64_t iStep = StepMs(Settings);
    return static_cast<uint32_t>((std::max<int64_t>(Settings.iTimeBetweenSongs, 1) + iStep - 1) /
                                 iStep);
}

int64_t EstimateSongMs(uint32_t uiSongBytes, const tTransferSettings& Settings) {
    const int32_t iPacketTotal = FileDump::PacketTotal(uiSongBytes);
    if (PacedOnAcknowledgement(Settings)) {
        return (kStepsBeforeHeaderReply + kStepsAfterEndOfFile) * StepMs(Settings) +
               WireMs(WireBytesBefore(uiSongBytes, iPacketTotal));
    }
    return (StepsFor(iPacketTotal) + BlindListenSteps(Settings)) * StepMs(Settings);
}

tTransferEstimate EstimateTransfer(const tTransferPlan& Plan) {
    std::vector<std::optional<uint32_t>> X10Sizes;
    for (const std::filesystem::path& X10Path : Plan.X10Paths) {
        std::error_code Error;
        const uintmax_t uiBytes = X10Path.empty() ? 0 : std::filesystem::file_size(X10Path, Error);
        X10Sizes.push_back(X10Path.empty() || Error
                               ? std::nullopt
                               : std::optional(static_cast<uint32_t>(uiBytes)));
    }
    return EstimateSongs(X10Sizes, Plan.Settings);
}

tTransferEstimate EstimateSongs(const std::vector<std::optional<uint32_t>>& X10Sizes,
                                const tTransferSettings& Settings) {
    tTransferEstimate Estimate;
    bool bFirstSong = true;
    for (const std::optional<uint32_t>& X10Size : X10Sizes) {
        Estimate.PacketTotals.push_back(X10Size ? FileDump::PacketTotal(*X10Size) : 0);
        Estimate.SongBytes.push_back(X10Size.value_or(0));
        if (X10Size) {
            Estimate.iTotalMs +=
                EstimateSongMs(*X10Size, Settings) + (bFirstSong ? 0 : PauseBeforeSongMs(Settings));
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
        if (Estimate.PacketTotals[i] == 0) {
            continue;
        }
        const int64_t iSongMs = EstimateSongMs(Estimate.SongBytes[i], Settings);
        if (static_cast<int32_t>(i) == iCurrentSong) {
            iLeft += std::max<int64_t>(
                iSongMs - SongDoneMs(Estimate.SongBytes[i], iPacketsSent, Settings), 0);
        } else {
            iLeft += iSongMs + PauseBeforeSongMs(Settings);
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
