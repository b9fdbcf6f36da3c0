#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/TransferEstimate.h"
#include "app/TransferRun.h"

// Shows a transfer run on a terminal: one line redrawn in place with the song, the file and
// overall progress, the time left, the state and the handshake. Written to a pipe or a file, it
// prints a line only when a song starts or ends, so that logs stay readable.
class cTransferProgress {
  public:
    cTransferProgress(std::ostream& Out, bool bRedrawInPlace, const tTransferPlan& Plan);
    // Before the run: each song's packet count and the time the pacing implies.
    void Announce();
    void Show(const tTransferTick& Tick);
    // Ends the line being redrawn, so that what is written next starts on a line of its own.
    void EndLine();

  private:
    std::string StatusLine(const tTransferTick& Tick) const;
    void ReportSongChange(const tTransferTick& Tick);
    const std::string& SongPath(int32_t iSong) const;

    std::ostream& Out;
    bool bRedrawInPlace;
    tTransferSettings Settings;
    std::vector<std::string> SongPaths;
    tTransferEstimate Estimate;
    std::string Basis;  // what the times assume, after them: " at MIDI cable speed", or empty
    int32_t iOverallMaximum;
    int32_t iFileBarMaximum = 0;
    int32_t iFileBarValue = 0;
    int32_t iOverallValue = 0;
    int32_t iShownSong = -1;
    bool bLineOpen = false;
};
