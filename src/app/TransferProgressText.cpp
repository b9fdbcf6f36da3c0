#include "app/TransferProgressText.h"

#include <algorithm>
#include <utility>

#include "app/Utf8Path.h"

namespace {

// Blind, only a cancel would have been heard: the device did not confirm the songs.
constexpr const char* kBlindSent = ", blind: not confirmed by the device";

// Why the run stopped at a song, as the summary says it.
std::string StopText(tX10State eState, const std::string& Reason) {
    const auto WithReason = [&Reason](const char* szWhat) {
        return Reason.empty() ? std::string(szWhat) : szWhat + (" (" + Reason + ")");
    };
    switch (eState) {
        case X10_CANCELLED:
            return WithReason("the device cancelled");
        case X10_ERROR:
            return WithReason("the send failed");
        case X10_MISMATCH:
            return "the device acknowledged other packets than those sent";
        case X10_TIMED_OUT:
            return "the device did not answer";
        default:
            return "the send was ended";
    }
}

std::string SongsText(int32_t iSent, size_t uiSongs) {
    return std::to_string(iSent) + " of " + std::to_string(uiSongs) +
           (uiSongs == 1 ? " song sent" : " songs sent");
}

}  // namespace

cTransferProgressText::cTransferProgressText(const tTransferPlan& Plan, tTransferEstimate Estimate)
    : SongPaths(Plan.SongPaths), Settings(Plan.Settings), Estimate(std::move(Estimate)) {
    SongPaths.resize(Plan.X10Paths.size());
    this->Estimate.PacketTotals.resize(Plan.X10Paths.size());
}

void cTransferProgressText::Take(const tTransferTick& Tick) {
    if (Tick.iCurrentSong != Song) {
        Song = Tick.iCurrentSong;
        PacketsSent = 0;  // the counters of the first tick of a song are still the last song's
    } else if (Tick.bFileBarValueChanged) {
        PacketsSent = Tick.iFileBarValue;
    }
    State = Tick.eState;
    Ended = Tick.iNextIntervalMs < 0;
    if (State == X10_DONE && Song != LastSongSent) {
        LastSongSent = Song;
        ++SongsSent;
        PacketsSent = Estimate.PacketTotals.at(static_cast<size_t>(Song));
    } else if (State == X10_CANCELLED) {
        Reason = Tick.HandShakeText;
    } else if (State == X10_ERROR) {
        Reason = Tick.Detail;
    }
}

std::string cTransferProgressText::SongText() const {
    return "Song " + std::to_string(Song + 1) + " of " + std::to_string(SongPaths.size());
}

int32_t cTransferProgressText::PacketsDone() const {
    int32_t iDone = PacketsSent;
    for (int32_t i = 0; i < Song; ++i) {
        iDone += Estimate.PacketTotals[static_cast<size_t>(i)];
    }
    return iDone;
}

int64_t cTransferProgressText::TimeLeftMs(int64_t iElapsedMs) const {
    if (Ended) {
        return 0;
    }
    const int64_t iLeftMs = EstimateTimeLeftMs(Estimate, Settings, Song, PacketsSent);
    const int64_t iDoneMs = Estimate.iTotalMs - iLeftMs;
    if (PacketsDone() < kPacketsBeforePace || iDoneMs <= 0) {
        return iLeftMs;
    }
    return iLeftMs * std::max<int64_t>(iElapsedMs, 0) / iDoneMs;
}

std::string cTransferProgressText::TimeText(int64_t iElapsedMs) const {
    const std::string Elapsed = DescribeDuration(iElapsedMs) + " elapsed";
    return Ended ? Elapsed
                 : Elapsed + ", about " + DescribeDuration(TimeLeftMs(iElapsedMs)) + " left";
}

std::string cTransferProgressText::SummaryText(int64_t iElapsedMs) const {
    if (State == X10_DONE) {
        return SongsText(SongsSent, SongPaths.size()) + " in " + DescribeDuration(iElapsedMs) +
               (Settings.bBlindTransfer ? kBlindSent : "");
    }
    const std::string File = PathToUtf8(SongPaths.at(static_cast<size_t>(Song)).filename());
    return "Stopped at " + File + ": " + StopText(State, Reason) + "; " +
           SongsText(SongsSent, SongPaths.size());
}
