// Conversion throughput on a generated 100 KB song, against merely copying the same bytes
// file to file, which is the floor that any conversion through files stands on.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "SmfBuilder.h"
#include "VantorMidiFile.h"

namespace {

constexpr size_t kSongBytes = 100 * 1000;

// A real-shaped song: notes in chords with running status, controller moves, lyrics on their
// own instants, a tempo map and a few SysEx messages, until the file reaches 100 KB.
cSmfBuilder MakeSong() {
    cSmfBuilder Song(480);
    std::mt19937 Random(7);
    Song.Text(0, 0x03, "Benchmark").Tempo(0, 500000).Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    for (int iBeat = 0; Song.Track().size() < kSongBytes - 200; ++iBeat) {
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

struct tBenchSong {
    std::filesystem::path Folder;
    std::filesystem::path Song;
    size_t uiBytes = 0;

    tBenchSong() {
        Folder = std::filesystem::temp_directory_path() / "songloader-bench";
        std::filesystem::create_directories(Folder);
        Song = Folder / "bench.mid";
        const cSmfBuilder Builder = MakeSong();
        Builder.WriteTo(Song);
        uiBytes = std::filesystem::file_size(Song);
    }
};

const tBenchSong& BenchSong() {
    static const tBenchSong Song;
    return Song;
}

void BM_ConvertSong(benchmark::State& State) {
    const tBenchSong& Song = BenchSong();
    for (auto _ : State) {
        VantorMidiFile Converter(Song.Song);
        const std::filesystem::path* pX10 = Converter.ConvertToVantorFormat();
        if (pX10 == nullptr) {
            State.SkipWithError("the benchmark song did not convert");
            break;
        }
        benchmark::DoNotOptimize(pX10);
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Song.uiBytes));
    State.counters["song_bytes"] = static_cast<double>(Song.uiBytes);
}
BENCHMARK(BM_ConvertSong)->Unit(benchmark::kMicrosecond);

void BM_CopySongFile(benchmark::State& State) {
    const tBenchSong& Song = BenchSong();
    const std::filesystem::path Copy = Song.Folder / "bench.mid.copy";
    for (auto _ : State) {
        std::filesystem::copy_file(Song.Song, Copy,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Song.uiBytes));
}
BENCHMARK(BM_CopySongFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
