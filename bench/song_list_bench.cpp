// What the main window does when a batch of 200 songs is dropped on its list: the batch vetted,
// each song converted in memory for its row's details, the duplicate rows found and the status
// bar worked out. Once for songs of 10 to 100 KB (real songs are mostly of tens of KB), once for
// 200 songs of 100 KB, the largest that are added without a question. The files are read from
// the page cache, as a batch just chosen mostly is.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BenchSong.h"
#include "app/DuplicateSongs.h"
#include "app/SongBatch.h"
#include "app/SongDetails.h"
#include "app/SongListStatus.h"

namespace {

constexpr int kBatchSongs = 200;

struct tBatch {
    std::vector<std::filesystem::path> Songs;
    uintmax_t uiBytes = 0;
};

// kBatchSongs songs in a folder of their own, of sizes spread evenly from uiSmallest to
// uiLargest bytes.
tBatch WriteBatch(const char* szFolder, size_t uiSmallest, size_t uiLargest) {
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

void AddBatch(benchmark::State& State, const tBatch& Batch) {
    const tTransferSettings Settings;
    for (auto _ : State) {
        if (VetSongBatch(Batch.Songs, false, [](const auto&) { return true; })) {
            State.SkipWithError("a benchmark song was refused");
            break;
        }
        std::vector<tSongDetails> Details;
        Details.reserve(Batch.Songs.size());
        std::vector<tListedSong> Rows;
        for (const std::filesystem::path& Song : Batch.Songs) {
            Details.push_back(ReadSongDetails(Song, false));
        }
        const std::vector<std::string> Notes = DuplicateNotes(Batch.Songs);
        for (size_t i = 0; i < Details.size(); ++i) {
            benchmark::DoNotOptimize(SongNote(Details[i], Notes[i]));
            Rows.push_back({&Details[i], true});
        }
        benchmark::DoNotOptimize(SongListStatus(Rows, Settings));
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Batch.uiBytes));
    State.counters["songs"] = kBatchSongs;
    State.counters["song_bytes"] = static_cast<double>(Batch.uiBytes);
}

void BM_AddBatchOfRealSizedSongs(benchmark::State& State) {
    static const tBatch Batch = WriteBatch("batch-10-100", 10 * 1000, kBenchSongBytes);
    AddBatch(State, Batch);
}
BENCHMARK(BM_AddBatchOfRealSizedSongs)->Unit(benchmark::kMillisecond);

void BM_AddBatchOfLargestSongs(benchmark::State& State) {
    static const tBatch Batch = WriteBatch("batch-100", kBenchSongBytes, kBenchSongBytes);
    AddBatch(State, Batch);
}
BENCHMARK(BM_AddBatchOfLargestSongs)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
