#include <gtest/gtest.h>

#include "app/TransferProgressText.h"

namespace {

constexpr int32_t kNoValue = -1;

// What the run's tick says: the song, the packets sent before the step (kNoValue: the file bar
// did not move), the state left, and whether the run goes on.
tTransferTick Tick(int32_t iSong, int32_t iPacketsSent, tX10State eState = X10_WAIT_ACK,
                   bool bGoesOn = true, const char* szHandShake = "", const char* szDetail = "") {
    tTransferTick Result;
    Result.iCurrentSong = iSong;
    Result.bFileBarValueChanged = iPacketsSent != kNoValue;
    Result.iFileBarValue = iPacketsSent;
    Result.eState = eState;
    Result.iNextIntervalMs = bGoesOn ? 10 : -1;
    Result.HandShakeText = szHandShake;
    Result.Detail = szDetail;
    return Result;
}

struct tCase {
    const char* szWhat;
    std::vector<tTransferTick> Ticks;
    int64_t iElapsedMs;
    std::string Texts;  // the song, the times and, once stopped, the summary, apart by " | "
    size_t uiSongs;     // three, or one alone sent blind
};

tCase Sent(const char* szWhat, std::vector<tTransferTick> Ticks, int64_t iElapsedMs,
           std::string Texts, size_t uiSongs = 3) {
    return {szWhat, std::move(Ticks), iElapsedMs, std::move(Texts), uiSongs};
}

}  // namespace

// Songs of 20 packets sent with handshakes (one song alone blind) at 10 ms a step: 620 ms each,
// 300 ms between them, 2460 ms for three. Six packets into the second song, 1100 ms of that is
// done: measured at 2200 ms, the 1360 ms left are taken to be 2720.
TEST(TransferProgressText, the_song_the_times_and_the_end_are_told_from_the_ticks) {
    const tCase aCases[] = {
        Sent("the plain estimate before enough packets have gone", {Tick(0, 0), Tick(0, 6)}, 5000,
             "Song 1 of 3 | 5.0 s elapsed, about 2.3 s left"),
        Sent("the measured pace once they have",
             {Tick(0, 19), Tick(0, kNoValue, X10_DONE), Tick(1, kNoValue), Tick(1, 6)}, 2200,
             "Song 2 of 3 | 2.2 s elapsed, about 2.7 s left"),
        Sent("the first tick of a song shows the last song's counters: nothing of it is sent",
             {Tick(0, 19), Tick(0, kNoValue, X10_DONE), Tick(1, 20)}, 1840,
             "Song 2 of 3 | 1.8 s elapsed, about 3.1 s left"),
        Sent("all sent",
             {Tick(0, 19, X10_DONE), Tick(1, 19, X10_DONE), Tick(2, 19, X10_DONE, false),
              Tick(2, kNoValue, X10_DONE, false)},
             72000, "Song 3 of 3 | 1 min 12 s elapsed | 3 of 3 songs sent in 1 min 12 s"),
        Sent("one song, blind", {Tick(0, 19, X10_DONE, false)}, 640,
             "Song 1 of 1 | 0.6 s elapsed | 1 of 1 song sent in 0.6 s, blind: not confirmed by the "
             "device",
             1),
        Sent("the device cancelled",
             {Tick(0, 19, X10_DONE), Tick(1, 4, X10_CANCELLED, false, "File Data checksum error.")},
             900,
             "Song 2 of 3 | 0.9 s elapsed | Stopped at b.mid: the device cancelled (File Data "
             "checksum error.); 1 of 3 songs sent"),
        Sent("a send error", {Tick(0, 0, X10_ERROR, false, "", "The MIDI output device failed")},
             30,
             "Song 1 of 3 | 0.0 s elapsed | Stopped at a.mid: the send failed (The MIDI output "
             "device failed); 0 of 3 songs sent"),
        Sent("no answer",
             {Tick(0, 19, X10_DONE), Tick(1, 19, X10_DONE), Tick(2, 3, X10_TIMED_OUT, false)},
             12000,
             "Song 3 of 3 | 12 s elapsed | Stopped at c.mid: the device did not answer; 2 of 3 "
             "songs sent"),
    };
    for (const tCase& Case : aCases) {
        tTransferPlan Plan;
        Plan.Settings.bBlindTransfer = Case.uiSongs == 1;
        Plan.Settings.iTimeBetweenPackets = 10;
        const char* aszNames[] = {"a.mid", "b.mid", "c.mid"};
        for (size_t i = 0; i < Case.uiSongs; ++i) {
            Plan.SongPaths.emplace_back(std::filesystem::path("songs") / aszNames[i]);
            Plan.X10Paths.emplace_back("x10");
        }
        const std::vector<std::optional<uint32_t>> Sizes(Case.uiSongs, 18 * 112);
        cTransferProgressText Text(Plan, EstimateSongs(Sizes, Plan.Settings));
        for (const tTransferTick& Each : Case.Ticks) {
            Text.Take(Each);
        }
        const int64_t iMs = Case.iElapsedMs;
        EXPECT_EQ(Text.SongText() + " | " + Text.TimeText(iMs) +
                      (Text.Stopped() ? " | " + Text.SummaryText(iMs) : ""),
                  Case.Texts)
            << Case.szWhat;
    }
}
