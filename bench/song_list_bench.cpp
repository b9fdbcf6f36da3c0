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
