#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/TransferRun.h"

// Shows a transfer run on a terminal: one line redrawn in place with the song, the file and
// overall progress, the state and the handshake. Written to a pipe or a file, it prints a line
// only when a song starts or ends, so that logs stay readable.
class cTransferProgress {
  public:
    cTransferProgress(std::ostream& Out, bool bRedrawInPlace, std::vector<std::string> SongPaths,
                      int32_t iOverallMaximum);
    void Show(const tTransferTick& Tick);
    // Ends the line being redrawn.
    void Finish();

  private:
    std::string StatusLine(const tTransferTick& Tick) const;
    void ReportSongChange(const tTransferTick& Tick);

    std::ostream& Out;
    bool bRedrawInPlace;
    std::vector<std::string> SongPaths;
    int32_t iOverallMaximum;
    int32_t iFileBarMaximum = 0;
    int32_t iFileBarValue = 0;
    int32_t iOverallValue = 0;
    int32_t iShownSong = -1;
    bool bLineOpen = false;
};
