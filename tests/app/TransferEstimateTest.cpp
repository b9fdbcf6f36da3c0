#include <gtest/gtest.h>

#include "TempDir.h"
#include "app/TransferEstimate.h"

namespace {

// Songs of 18 data packets: 20 packets with the header and the end-of-file message, 62 steps.
constexpr size_t kSongBytes = 18 * 112;

struct tEstimateCase {
    const char* szWhat;
    bool bBlind;
    bool bSkippedSongBetween;
    bool bAckPaced;
    int64_t iTotalMs;
    int64_t iLeftAfterSixPacketsMs;
};

}  // namespace

// At 10 ms a step and 300 ms between songs: with handshakes each song is 620 ms and the second
// pauses 300 ms first; blind, each song listens 30 steps after its end of file and none pauses.
// Paced on acknowledgement a song is five steps and 2613 bytes on the wire, 320 us each (the
// header with the longest name, 18 data packets, their replies and the end-of-file message); six
// packets sent are four steps and 748 of those bytes.
TEST(TransferEstimate, songs_steps_and_the_time_between_songs_add_up_by_mode) {
    const tEstimateCase aCases[] = {
        {"handshakes", false, false, false, 620 + 300 + 620, 620 - 6 * 3 * 10 + 300 + 620},
        {"blind", true, false, false, 920 + 920, 920 - 6 * 3 * 10 + 920},
        {"a song that is skipped costs nothing", false, true, false, 620 + 300 + 620,
         620 - 6 * 3 * 10 + 300 + 620},
        {"acknowledged", false, false, true, 886 + 300 + 886, 886 - (40 + 239) + 300 + 886},
        {"acknowledged is no pacing for blind sends", true, false, true, 920 + 920,
         920 - 6 * 3 * 10 + 920},
    };
    TempDir Folder;
    WriteAll(Folder / "song.midx10", std::vector<uint8_t>(kSongBytes, 1));
    for (const tEstimateCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        tTransferPlan Plan;
        Plan.Settings.bBlindTransfer = Case.bBlind;
        Plan.Settings.AckPaced = Case.bAckPaced;
        Plan.Settings.iTimeBetweenPackets = 10;
        Plan.Settings.iTimeBetweenSongs = 300;
        Plan.X10Paths = {Folder / "song.midx10", Folder / "song.midx10"};
        if (Case.bSkippedSongBetween) {
            Plan.X10Paths.insert(Plan.X10Paths.begin() + 1, std::filesystem::path());
        }
        const tTransferEstimate Estimate = EstimateTransfer(Plan);
        EXPECT_EQ(Estimate.PacketTotals.front(), 20);
        EXPECT_EQ(Estimate.iTotalMs, Case.iTotalMs);
        EXPECT_EQ(EstimateTimeLeftMs(Estimate, Plan.Settings, 0, 6), Case.iLeftAfterSixPacketsMs);
        EXPECT_EQ(EstimateBasis(Plan.Settings),
                  Case.bAckPaced && !Case.bBlind ? "at MIDI cable speed" : "");
    }
}

TEST(TransferEstimate, durations_are_worded_for_their_size) {
    const std::pair<int64_t, const char*> aCases[] = {
        {400, "0.4 s"}, {9999, "10.0 s"}, {12500, "12 s"}, {185000, "3 min 5 s"}};
    for (const auto& [iMs, szText] : aCases) {
        EXPECT_EQ(DescribeDuration(iMs), szText);
    }
}
