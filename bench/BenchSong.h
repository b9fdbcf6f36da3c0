#pragma once

#include <cstddef>
#include <random>

#include "smfbuilder/SmfBuilder.h"

inline constexpr size_t kBenchSongBytes = 100 * 1000;

// A real-shaped song of 100 KB: notes in chords with running status, controller moves, lyrics
// on their own instants, a tempo map and a SysEx message.
inline cSmfBuilder MakeBenchSong() {
    cSmfBuilder Song(480);
    std::mt19937 Random(7);
    Song.Text(0, 0x03, "Benchmark").Tempo(0, 500000).Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    for (int iBeat = 0; Song.Track().size() < kBenchSongBytes - 200; ++iBeat) {
        const auto ucRoot = static_cast<uint8_t>(48 + Random() % 24);
        if (iBeat % 4 == 0) {
            Song.Text(0, 0x05, "la").Tempo(0, 400000 + Random() % 300000);
        }
        Song.NoteOn(0, 0, ucRoot, 100).Event(0, {static_cast<uint8_t>(ucRoot + 4), 96});
        Song.Event(0, {0xB0, 0x07, static_cast<uint8_t>(Random() % 128)});
        Song.Event(240, {0x80, ucRoot, 0}).Event(0, {static_cast<uint8_t>(ucRoot + 4), 0});
        Song.Event(240, {0xE0, 0x00, static_cast<uint8_t>(Random() % 128)});
    }
    return std::move(Song.EndOfTrack());
}
