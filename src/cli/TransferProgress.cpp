#include "cli/TransferProgress.h"

#include "app/Utf8Path.h"

namespace {

// What the times assume, to follow them on a line: " at MIDI cable speed", or nothing.
std::string SpacedBasis(const tTransferSettings& Settings) {
    std::string Basis = EstimateBasis(Settings);
    if (!Basis.empty()) {
        Basis.insert(Basis.begin(), ' ');
    }
    return Basis;
}

}  // namespace

cTransferProgress::cTransferProgress(std::ostream& Out, bool bRedrawInPlace,
                                     const tTransferPlan& Plan)
    : Out(Out),
      bRedrawInPlace(bRedrawInPlace),
      Settings(Plan.Settings),
      Estimate(EstimateTransfer(Plan)),
      Basis(SpacedBasis(Settings)),
      iOverallMaximum(Plan.SongPaths.empty() ? 1
                                             : static_cast<int32_t>(Plan.SongPaths.size()) * 100) {
    for (const std::filesystem::path& Path : Plan.SongPaths) {
        SongPaths.push_back(PathToUtf8(Path));
    }
}

const std::string& cTransferProgress::SongPath(int32_t iSong) const {
    return SongPaths[static_cast<size_t>(iSong)];
}

void cTransferProgress::Announce() {
    for (size_t i = 0; i < SongPaths.size(); ++i) {
        const int32_t iPackets = Estimate.PacketTotals[i];
        if (iPackets > 0) {
            Out << SongPaths[i] << ": " << iPackets << " packets, about "
                << DescribeDuration(EstimateSongMs(Estimate.SongBytes[i], Settings)) << Basis
                << "\n";
        }
    }
    Out << "sending takes about " << DescribeDuration(Estimate.iTotalMs) << Basis << std::endl;
}

std::string cTransferProgress::StatusLine(const tTransferTick& Tick) const {
    const int iPercent = static_cast<int>(100LL * iOverallValue / iOverallMaximum);
    const int64_t iLeftMs =
        EstimateTimeLeftMs(Estimate, Settings, Tick.iCurrentSong, iFileBarValue);
    return "song " + std::to_string(Tick.iCurrentSong + 1) + "/" +
           std::to_string(SongPaths.size()) + " " + Tick.CurrentFileLabel + "  packet " +
           std::to_string(iFileBarValue) + "/" + std::to_string(iFileBarMaximum) + "  overall " +
           std::to_string(iPercent) + "%  about " + DescribeDuration(iLeftMs) + " left" + Basis +
           "  " + Tick.StateText + "  (" + Tick.HandShakeText + ")";
}

void cTransferProgress::ReportSongChange(const tTransferTick& Tick) {
    if (Tick.iCurrentSong != iShownSong) {
        iShownSong = Tick.iCurrentSong;
        if (!bRedrawInPlace) {
            Out << "sending " << SongPath(iShownSong) << std::endl;
        }
    }
    if (Tick.eState == X10_DONE && !bRedrawInPlace) {
        // Blind, only a cancel would have been heard: the device did not confirm the song.
        Out << "sent " << SongPath(iShownSong) << " (" << iFileBarMaximum << " packets"
            << (Settings.bBlindTransfer ? ", blind: not confirmed by the device" : "") << ")"
            << std::endl;
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

void cTransferProgress::EndLine() {
    if (bLineOpen) {
        Out << "\n";
        bLineOpen = false;
    }
    Out << std::flush;
}
