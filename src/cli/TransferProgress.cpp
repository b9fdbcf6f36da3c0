#include "cli/TransferProgress.h"

#include <utility>

cTransferProgress::cTransferProgress(std::ostream& Out, bool bRedrawInPlace,
                                     std::vector<std::string> SongPaths, int32_t iOverallMaximum)
    : Out(Out),
      bRedrawInPlace(bRedrawInPlace),
      SongPaths(std::move(SongPaths)),
      iOverallMaximum(iOverallMaximum > 0 ? iOverallMaximum : 1) {}

std::string cTransferProgress::StatusLine(const tTransferTick& Tick) const {
    const int iPercent = static_cast<int>(100LL * iOverallValue / iOverallMaximum);
    return "song " + std::to_string(Tick.iCurrentSong + 1) + "/" +
           std::to_string(SongPaths.size()) + " " + Tick.CurrentFileLabel + "  packet " +
           std::to_string(iFileBarValue) + "/" + std::to_string(iFileBarMaximum) + "  overall " +
           std::to_string(iPercent) + "%  " + Tick.StateText + "  (" + Tick.HandShakeText + ")";
}

void cTransferProgress::ReportSongChange(const tTransferTick& Tick) {
    if (Tick.iCurrentSong != iShownSong) {
        iShownSong = Tick.iCurrentSong;
        if (!bRedrawInPlace) {
            Out << "sending " << SongPaths[static_cast<size_t>(iShownSong)] << std::endl;
        }
    }
    if (Tick.eState == X10_DONE && !bRedrawInPlace) {
        Out << "sent " << SongPaths[static_cast<size_t>(iShownSong)] << " (" << iFileBarMaximum
            << " packets)" << std::endl;
    }
}

void cTransferProgress::Show(const tTransferTick& Tick) {
    if (Tick.bFileBarRangeChanged) {
        iFileBarMaximum = Tick.iFileBarMaximum;
    }
    if (Tick.bFileBarValueChanged) {
        iFileBarValue = Tick.iFileBarValue;
    }
    if (Tick.eState == X10_DONE) {
        iFileBarValue = iFileBarMaximum;
    }
    if (Tick.bOverallValueChanged) {
        iOverallValue = Tick.iOverallValue;
    }
    if (Tick.CurrentFileLabel.empty()) {
        return;  // a tick after the run stopped
    }
    ReportSongChange(Tick);
    if (bRedrawInPlace) {
        Out << "\r" << StatusLine(Tick) << "\x1b[K" << std::flush;
        bLineOpen = true;
    }
}

void cTransferProgress::Finish() {
    if (bLineOpen) {
        Out << "\n";
        bLineOpen = false;
    }
    Out << std::flush;
}
