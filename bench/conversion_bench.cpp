// Conversion throughput on a generated 100 KB song, against merely copying the same bytes
// file to file, which is the floor that any conversion through files stands on; and the merge
// of a 1 MB, 16-track song against the conversion alone of the merged song.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSong.h"
#include "conversion/SongConversion.h"
#include "conversion/TrackMerger.h"
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

struct tMultiTrackSong {
    std::vector<uint8_t> Format1;
    std::vector<uint8_t> Merged;  // the same song as format 0
    std::filesystem::path Song;

    tMultiTrackSong() : Format1(MakeMultiTrackBenchSong()), Merged(MergeTracks(Format1).Song) {
        Song = BenchSong().Folder / "multi-track.mid";
        std::ofstream(Song, std::ios::binary)
            .write(reinterpret_cast<const char*>(Format1.data()),
                   static_cast<std::streamsize>(Format1.size()));
    }
};

const tMultiTrackSong& MultiTrackSong() {
    static const tMultiTrackSong Song;
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

// The merge alone, in memory: 16 tracks of a 1 MB song into one.
void BM_MergeTracks(benchmark::State& State) {
    const tMultiTrackSong& Song = MultiTrackSong();
    for (auto _ : State) {
        const tMergedSong Merged = MergeTracks(Song.Format1);
        if (!Merged.Merged) {
            State.SkipWithError("the benchmark song did not merge");
            break;
        }
        benchmark::DoNotOptimize(Merged.Song.data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Song.Format1.size()));
    State.counters["song_bytes"] = static_cast<double>(Song.Format1.size());
    State.counters["merged_bytes"] = static_cast<double>(Song.Merged.size());
}
BENCHMARK(BM_MergeTracks)->Unit(benchmark::kMillisecond);

// The conversion alone, in memory, of the same song already merged.
void BM_ConvertMergedSongAlone(benchmark::State& State) {
    const tMultiTrackSong& Song = MultiTrackSong();
    for (auto _ : State) {
        VantorMidiFile Converter;
        if (!Converter.ConvertSongBytes(Song.Merged)) {
            State.SkipWithError("the merged benchmark song did not convert");
            break;
        }
        benchmark::DoNotOptimize(Converter.GetX10Bytes().data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Song.Merged.size()));
}
BENCHMARK(BM_ConvertMergedSongAlone)->Unit(benchmark::kMillisecond);

// What a user waits for: the 1 MB, 16-track song read, merged, converted and written.
void BM_ConvertMultiTrackSongFile(benchmark::State& State) {
    const tMultiTrackSong& Song = MultiTrackSong();
    tConversionOptions Options;
    Options.bMergeTracks = true;
    for (auto _ : State) {
        const tSongConversion Result = ConvertSong(Song.Song, Options);
        if (!Result.bConverted) {
            State.SkipWithError("the multi-track benchmark song did not convert");
            break;
        }
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Song.Format1.size()));
}
BENCHMARK(BM_ConvertMultiTrackSongFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
