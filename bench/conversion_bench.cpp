// Conversion throughput on a generated 100 KB song, against merely copying the same bytes
// file to file, which is the floor that any conversion through files stands on.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchSong.h"
#include "conversion/VantorMidiFile.h"

namespace {

struct tBenchSong {
    std::filesystem::path Folder;
    std::filesystem::path Song;
    size_t uiBytes = 0;

    tBenchSong() {
        Folder = std::filesystem::temp_directory_path() / "songloader-bench";
        std::filesystem::create_directories(Folder);
        Song = Folder / "bench.mid";
        MakeBenchSong().WriteTo(Song);
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
