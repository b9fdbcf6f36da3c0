// Wall time of whole transfers of a 100 KB song over a real MIDI system, for each pacing: blind
// at 25 ms between steps, with handshakes at 25 ms and at 5 ms, and each packet sent once the
// one before is acknowledged (25 ms between the steps that wait). Each is set against two
// ideals: the number of steps times the interval, and the time a 31250-baud MIDI cable takes to
// carry every byte sent and received (320 us a byte). Needs tav-emulator running on that
// system; scripts/bench-transfer.sh starts a private JACK server and the emulator (behind an
// emulated cable, and without one), then runs this. With SONGLOADER_BENCH_STORE naming the
// emulator's store folder, a song not stored intact fails the run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "BenchSong.h"
#include "app/TickWait.h"
#include "app/TransferRun.h"
#include "conversion/SongConversion.h"
#include "midi/DeviceList.h"
#include "midi/MidiBackend.h"
#include "midi/rtmidi/RtMidiBackend.h"
#include "transfer/FileDumpMessages.h"
#include "transfer/X10FileTransfer.h"

namespace {

constexpr const char* kEmulatorName = "TAV Emulator";
constexpr double kWireSecondsPerByte = 320e-6;
constexpr int64_t kReplyBytes = 6;
constexpr int kAttempts = 3;

struct tPacing {
    const char* szName;
    bool bBlind;
    bool bAckPaced;
    int32_t iIntervalMs;
};
constexpr tPacing kPacings[] = {
    {"blind, 25 ms", true, false, 25},
    {"handshakes, 25 ms", false, false, 25},
    {"handshakes, 5 ms", false, false, 5},
    {"acknowledged", false, true, 25},
};

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

// Every byte of the song's messages, and a reply to the header and to each data packet.
int64_t WireBytes(uint32_t uiSongBytes) {
    const int64_t iDataPackets = FileDump::PacketTotal(uiSongBytes) - 2;
    const int64_t iEncoded = uiSongBytes + (uiSongBytes + 6) / 7;
    return 15 + 5 /* "bench" */ + iDataPackets * 9 + iEncoded + FileDump::kEndOfFileLength +
           (iDataPackets + 1) * kReplyBytes;
}

std::vector<char> ReadBytes(const std::filesystem::path& File) {
    std::ifstream In(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// Whether the emulator's store, when named, holds the song as sent.
bool StoredIntact(const tBenchTransfer& Bench) {
    const char* szStore = std::getenv("SONGLOADER_BENCH_STORE");
    if (szStore == nullptr) {
        return true;
    }
    const std::filesystem::path Stored = std::filesystem::path(szStore) / "bench.x10";
    const bool bIntact = ReadBytes(Stored) == ReadBytes(Bench.X10File);
    std::filesystem::remove(Stored);
    return bIntact;
}

// One song, paced as the command line paces it. Returns the steps, or -1 when it failed.
int64_t Transfer(const tBenchTransfer& Bench, const tPacing& Pacing) {
    tTransferPlan Plan;
    Plan.Settings.iSelectedOutPort = Bench.iOut;
    Plan.Settings.iSelectedInPort = Bench.iIn;
    Plan.Settings.iTimeBetweenPackets = Pacing.iIntervalMs;
    Plan.Settings.bBlindTransfer = Pacing.bBlind;
    Plan.Settings.AckPaced = Pacing.bAckPaced;
    Plan.SongPaths = {"/bench.mid"};
    Plan.X10Paths = {Bench.X10File};
    cTransferRun Run(x10fer, Plan);
    int64_t iSteps = 0;
    bool WakeOnInput = false;
    for (int32_t iInterval = Run.Start(); iInterval >= 0; ++iSteps) {
        WaitForNextTick(iInterval, WakeOnInput, Run, [] { return false; });
        const tTransferTick Tick = Run.Tick();
        iInterval = Tick.iNextIntervalMs;
        WakeOnInput = Tick.WakeOnInput;
    }
    const bool bDone = Run.AllSongsDone();
    Run.End();
    return bDone ? iSteps : -1;
}

void BM_TransferOverMidi(benchmark::State& State) {
    const tPacing& Pacing = kPacings[State.range(0)];
    State.SetLabel(Pacing.szName);
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
    int64_t iSteps = -1;
    double dSeconds = 0;
    int iFailed = 0;
    for (auto _ : State) {
        // A cycle the MIDI system loses (an xrun of a busy machine) loses the messages in it, and
        // the transfer fails: it is tried again, and the failures are counted.
        for (; iSteps < 0 && iFailed < kAttempts; iFailed += iSteps < 0 ? 1 : 0) {
            // The ports of the send before have closed and the device has stored its song.
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            const auto Start = std::chrono::steady_clock::now();
            iSteps = Transfer(Bench, Pacing);
            dSeconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            if (iSteps >= 0 && !StoredIntact(Bench)) {
                State.SkipWithError("the song was reported sent but not stored intact");
                return;
            }
        }
        if (iSteps < 0) {
            State.SkipWithError("no transfer finished");
            return;
        }
        State.SetIterationTime(dSeconds);
    }
    State.counters["failed"] = iFailed;
    const auto uiSongBytes = static_cast<uint32_t>(std::filesystem::file_size(Bench.X10File));
    const double dWire = static_cast<double>(WireBytes(uiSongBytes)) * kWireSecondsPerByte;
    State.counters["song_bytes"] = uiSongBytes;
    State.counters["steps"] = static_cast<double>(iSteps);
    State.counters["steps_s"] = static_cast<double>(iSteps) * Pacing.iIntervalMs / 1000.0;
    State.counters["wire_s"] = dWire;
    State.counters["to_wire"] = dSeconds / dWire;
    std::filesystem::remove(Bench.X10File);
}
BENCHMARK(BM_TransferOverMidi)
    ->ArgName("pacing")
    ->DenseRange(0, 3)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
