// Wall time of whole transfers of a 100 KB song over a real MIDI system at 25 ms between
// steps, blind and with handshakes, against the ideal that the pacing allows: the number of
// steps times the interval. Needs tav-emulator running on that system; scripts/bench-transfer.sh
// starts a private JACK server and the emulator, then runs this.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchSong.h"
#include "app/TransferRun.h"
#include "conversion/SongConversion.h"
#include "midi/DeviceList.h"
#include "midi/MidiBackend.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "transfer/X10FileTransfer.h"

namespace {

constexpr int32_t kPacketIntervalMs = 25;
constexpr const char* kEmulatorName = "TAV Emulator";

struct tBenchTransfer {
    std::filesystem::path X10File;
    int32_t iOut = -1;
    int32_t iIn = -1;
    std::string Error;
};

// The index of the one device whose name holds kEmulatorName, or -1.
int32_t EmulatorIndex(const std::vector<std::string>& Names) {
    int32_t iFound = -1;
    for (size_t i = 0; i < Names.size(); ++i) {
        if (Names[i].find(kEmulatorName) != std::string::npos) {
            if (iFound >= 0) {
                return -1;
            }
            iFound = static_cast<int32_t>(i);
        }
    }
    return iFound;
}

tBenchTransfer Prepare(const std::filesystem::path& Folder) {
    tBenchTransfer Bench;
    std::filesystem::create_directories(Folder);
    const std::filesystem::path Song = Folder / "bench.mid";
    MakeBenchSong().WriteTo(Song);
    const tSongConversion Converted = ConvertSong(Song, false);
    if (!Converted.bConverted) {
        Bench.Error = "the benchmark song did not convert: " + Converted.FailureText;
        return Bench;
    }
    Bench.X10File = Converted.X10FilePath;
    Bench.iOut = EmulatorIndex(MidiOutDeviceNames());
    Bench.iIn = EmulatorIndex(MidiInDeviceNames());
    if (Bench.iOut < 0 || Bench.iIn < 0) {
        Bench.Error = std::string("no single MIDI device is named '") + kEmulatorName + "'";
    }
    return Bench;
}

// One song, paced as the program paces it: sleep the interval, then one step. Returns the steps.
int64_t Transfer(const tBenchTransfer& Bench, bool bBlind) {
    tTransferPlan Plan;
    Plan.Settings.iSelectedOutPort = Bench.iOut;
    Plan.Settings.iSelectedInPort = Bench.iIn;
    Plan.Settings.iTimeBetweenPackets = kPacketIntervalMs;
    Plan.Settings.bBlindTransfer = bBlind;
    Plan.SongPaths = {"/bench.mid"};
    Plan.X10Paths = {Bench.X10File};
    cTransferRun Run(x10fer, Plan);
    int64_t iSteps = 0;
    for (int32_t iInterval = Run.Start(); iInterval >= 0; ++iSteps) {
        std::this_thread::sleep_for(std::chrono::milliseconds(iInterval));
        iInterval = Run.Tick().iNextIntervalMs;
    }
    const bool bDone = Run.AllSongsDone();
    Run.End();
    return bDone ? iSteps : -1;
}

void BM_TransferOverMidi(benchmark::State& State) {
    const bool bBlind = State.range(0) != 0;
    cRtMidiBackend Backend;
    if (!Backend.IsSystemReachable()) {
        State.SkipWithError("no MIDI system answers (run scripts/bench-transfer.sh)");
        return;
    }
    cScopedMidiBackend Installed(Backend);
    const tBenchTransfer Bench =
        Prepare(std::filesystem::temp_directory_path() / "songloader-transfer-bench");
    if (!Bench.Error.empty()) {
        State.SkipWithError(Bench.Error.c_str());
        return;
    }
    int64_t iSteps = 0;
    double dSeconds = 0;
    for (auto _ : State) {
        const auto Start = std::chrono::steady_clock::now();
        iSteps = Transfer(Bench, bBlind);
        dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        if (iSteps < 0) {
            State.SkipWithError("the transfer did not finish");
            return;
        }
        State.SetIterationTime(dSeconds);
    }
    const double dIdeal = static_cast<double>(iSteps) * kPacketIntervalMs / 1000.0;
    State.counters["song_bytes"] = static_cast<double>(std::filesystem::file_size(Bench.X10File));
    State.counters["steps"] = static_cast<double>(iSteps);
    State.counters["ideal_s"] = dIdeal;
    State.counters["ratio"] = dSeconds / dIdeal;
    std::filesystem::remove(Bench.X10File);
}
BENCHMARK(BM_TransferOverMidi)
    ->ArgName("blind")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
