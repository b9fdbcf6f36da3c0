#include <gtest/gtest.h>

#include "app/SongListStatus.h"

namespace {

// A song of 18 data packets: 20 packets, 62 steps.
tSongDetails Song(bool Converted = true) {
    tSongDetails Details;
    Details.Converted = Converted;
    Details.X10Bytes = Converted ? 18 * 112 : 0;
    return Details;
}

}  // namespace

// At 10 ms a step with handshakes a song is 620 ms and each further one pauses 300 ms first;
// paced on acknowledgement it is 886 ms (as the estimate's own test works out).
TEST(SongListStatus, the_ticked_songs_are_counted_with_their_bytes_and_the_time_their_send_takes) {
    const tSongDetails Good = Song();
    const tSongDetails Broken = Song(false);
    struct tCase {
        std::vector<tListedSong> Rows;
        bool AckPaced;
        const char* szText;
    };
    const tCase aCases[] = {
        {{}, false, "No songs"},
        {{{&Good, true}}, false, "1 of 1 song ticked, 2.0 KB, about 0.6 s"},
        {{{&Good, false}, {&Good, false}}, false, "0 of 2 songs ticked"},
        {{{&Good, true}, {&Good, false}, {&Good, true}},
         false,
         "2 of 3 songs ticked, 4.0 KB, about 1.5 s"},
        {{{&Good, true}, {&Broken, true}}, false, "2 of 2 songs ticked, 2.0 KB, about 0.6 s"},
        {{{&Broken, true}}, false, "1 of 1 song ticked"},
        {{{&Good, true}, {&Good, true}},
         true,
         "2 of 2 songs ticked, 4.0 KB, about 2.1 s at MIDI cable speed"},
    };
    for (const tCase& Case : aCases) {
        tTransferSettings Settings;
        Settings.bBlindTransfer = false;
        Settings.AckPaced = Case.AckPaced;
        Settings.iTimeBetweenPackets = 10;
        EXPECT_EQ(SongListStatus(Case.Rows, Settings), Case.szText);
    }
}
