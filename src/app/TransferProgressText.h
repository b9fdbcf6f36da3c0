#pragma once

#include <cstdint>
#include <string>

#include "app/TransferEstimate.h"
#include "app/TransferRun.h"

// The progress dialog's own texts, worked out from the ticks of a transfer run: which song is
// sent, the time elapsed and the time left, and how the send ended. Holds no clock: the host
// passes its own reading, the milliseconds since the run started, to each text that needs it.
class cTransferProgressText {
  public:
    // The time left is the plain estimate until this many packets have gone; from then on it is
    // scaled by the pace measured so far (time elapsed over the estimate for what was sent).
    static constexpr int32_t kPacketsBeforePace = 16;

    // For a run of Plan, whose estimate is Estimate (EstimateTransfer(Plan)).
    cTransferProgressText(const tTransferPlan& Plan, tTransferEstimate Estimate);

    // Takes what one tick of the run showed: the song, the packets sent, the state it left.
    void Take(const tTransferTick& Tick);

    // "Song 2 of 3".
    std::string SongText() const;
    // "12 s elapsed, about 35 s left"; once the run has stopped, the time elapsed alone.
    std::string TimeText(int64_t iElapsedMs) const;
    // The time left that TimeText words; 0 once the run has stopped.
    int64_t TimeLeftMs(int64_t iElapsedMs) const;
    // Once the run has stopped: "3 of 3 songs sent in 1 min 12 s" (and ", blind: not confirmed
    // by the device" after a blind send), or the song it stopped at and why: "Stopped at b.mid:
    // the device cancelled (File Data checksum error.); 1 of 3 songs sent".
    std::string SummaryText(int64_t iElapsedMs) const;
    // The last tick asked for no further one: the summary can be shown.
    bool Stopped() const { return Ended; }

  private:
    int32_t PacketsDone() const;

    std::vector<std::filesystem::path> SongPaths;
    tTransferSettings Settings;
    tTransferEstimate Estimate;
    int32_t Song = 0;
    int32_t PacketsSent = 0;  // of the current song
    int32_t SongsSent = 0;
    int32_t LastSongSent = -1;
    tX10State State = X10_PORT_CLOSED;
    bool Ended = false;
    std::string Reason;  // of a stop: the cancel reason, or what the send error was
};
