#pragma once

#include <cstddef>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "smfbuilder/SmfBuilder.h"

inline constexpr size_t kBenchSongBytes = 100 * 1000;
inline constexpr size_t kMultiTrackSongBytes = 1000 * 1000;
inline constexpr int kMultiTrackCount = 16;

// A real-shaped song of 100 KB (or about uiBytes): notes in chords with running status,
// controller moves, lyrics on their own instants, a tempo map and a SysEx message.
inline cSmfBuilder MakeBenchSong(size_t uiBytes = kBenchSongBytes, unsigned uiSeed = 7) {
    cSmfBuilder Song(480);
    std::mt19937 Random(uiSeed);
    Song.Text(0, 0x03, "Benchmark").Tempo(0, 500000).Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    for (int iBeat = 0; Song.Track().size() < uiBytes - 200; ++iBeat) {
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

// A format-1 song of 1 MB in 16 tracks, as a sequencer exports one: a tempo track, then one
// part per channel with its own rhythm, running status, controller moves and pitch bends.
inline std::vector<uint8_t> MakeMultiTrackBenchSong() {
    const size_t uiTrackBytes = kMultiTrackSongBytes / kMultiTrackCount;
    std::mt19937 Random(16);
    std::vector<uint8_t> Song = cSmfBuilder::Header(1, kMultiTrackCount, 480);
    for (int iTrack = 0; iTrack < kMultiTrackCount; ++iTrack) {
        cSmfBuilder Part(480);
        const auto ucChannel = static_cast<uint8_t>(iTrack - 1);
        const auto dwStep = static_cast<uint32_t>(60 + 15 * iTrack);
        if (iTrack == 0) {
            Part.Text(0, 0x03, "Multi-track benchmark");
            while (Part.Track().size() < uiTrackBytes - 100) {
                Part.Tempo(1920, 400000 + Random() % 300000).Text(0, 0x06, "bar");
            }
        } else {
            Part.ProgramChange(0, ucChannel, static_cast<uint8_t>(Random() % 128));
            while (Part.Track().size() < uiTrackBytes - 100) {
                const auto ucKey = static_cast<uint8_t>(36 + Random() % 48);
                Part.NoteOn(dwStep, ucChannel, ucKey, 100).Event(dwStep, {ucKey, 0});
                Part.Event(0, {static_cast<uint8_t>(0xB0 | ucChannel), 0x0B,
                               static_cast<uint8_t>(Random() % 128)});
                Part.Event(dwStep / 2, {static_cast<uint8_t>(0xE0 | ucChannel), 0x00,
                                        static_cast<uint8_t>(Random() % 128)});
            }
        }
        const std::vector<uint8_t> Chunk = cSmfBuilder::Chunk("MTrk", Part.EndOfTrack().Track());
        Song.insert(Song.end(), Chunk.begin(), Chunk.end());
    }
    return Song;
}

inline constexpr int kBatchSongs = 200;

struct tBatch {
    std::vector<std::filesystem::path> Songs;
    uintmax_t uiBytes = 0;
};

// kBatchSongs songs in a folder of their own, of sizes spread evenly from uiSmallest to
// uiLargest bytes.
inline tBatch WriteBatch(const char* szFolder, size_t uiSmallest, size_t uiLargest) {
    const std::filesystem::path Folder =
        std::filesystem::temp_directory_path() / "songloader-bench" / szFolder;
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    tBatch Batch;
    for (int i = 0; i < kBatchSongs; ++i) {
        const size_t uiBytes =
            uiSmallest + (uiLargest - uiSmallest) * static_cast<size_t>(i) / (kBatchSongs - 1);
        Batch.Songs.push_back(Folder / ("Song " + std::to_string(i + 1) + ".mid"));
        MakeBenchSong(uiBytes, static_cast<unsigned>(i)).WriteTo(Batch.Songs.back());
        Batch.uiBytes += std::filesystem::file_size(Batch.Songs.back());
    }
    return Batch;
}
