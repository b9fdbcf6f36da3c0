// Time from the loss of the JACK server to the failed send that reports it, during a blind
// send: the transfer must end in error within 2 s of the MIDI system going away. Each iteration
// starts a JACK server of its own (never the shared one), sends 137-byte SysEx messages to a
// device on it as a blind transfer does, and stops (SIGTERM) or kills (SIGKILL) the server.
#include <RtMidi.h>
#include <benchmark/benchmark.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "jackserver/PrivateJackServer.h"
#include "midi/DeviceList.h"
#include "midi/MIDIOutPort.h"
#include "midi/MidiBackend.h"
#include "midi/rtmidi/RtMidiBackend.h"

namespace {

using tClock = std::chrono::steady_clock;

constexpr auto kGiveUp = std::chrono::seconds(30);
constexpr const char* kDeviceName = "TAV Bench in";

struct tLossTiming {
    double dSeconds = -1;  // from the signal to the failed send's return; -1: none came
    MMRESULT eResult = MMSYSERR_NOERROR;
    std::string Error;
};

int DeviceIndex() {
    const std::vector<std::string> Names = MidiOutDeviceNames();
    for (size_t i = 0; i < Names.size(); ++i) {
        if (Names[i].find(kDeviceName) != std::string::npos) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Sends on this thread while another one sends the server the signal.
tLossTiming SendUntilLost(cMIDIOutPort& Port, cPrivateJackServer& Server, int iSignal) {
    std::atomic<tClock::time_point> Signalled{tClock::time_point::max()};
    std::thread Killer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Signalled.store(tClock::now());
        Server.Signal(iSignal);
    });
    std::vector<uint8_t> Message(137, 0x11);
    Message.front() = 0xF0;
    Message.back() = 0xF7;
    tLossTiming Timing;
    const auto GiveUp = tClock::now() + kGiveUp;
    while (tClock::now() < GiveUp) {
        Timing.eResult = Port.SendSysexPacket(137, Message.data());
        if (Timing.eResult != MMSYSERR_NOERROR && Timing.eResult != MIDIERR_NOTREADY) {
            Timing.dSeconds =
                std::chrono::duration<double>(tClock::now() - Signalled.load()).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Killer.join();
    return Timing;
}

tLossTiming MeasureOnce(int iSignal) {
    tLossTiming Timing;
    cPrivateJackServer Server(cPrivateJackServer::NameFor("loss-bench"));
    Timing.Error = Server.Start();
    if (!Timing.Error.empty()) {
        return Timing;
    }
    {
        cRtMidiBackend Backend(RtMidi::UNIX_JACK);
        cScopedMidiBackend Installed(Backend);
        auto pDevice = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "TAV Bench");
        pDevice->openVirtualPort(kDeviceName);
        const int iDevice = DeviceIndex();
        cMIDIOutPort Port;
        if (iDevice < 0 || Port.OpenPort(static_cast<uint32_t>(iDevice)) != MMSYSERR_NOERROR) {
            Timing.Error = "the device on the private server could not be opened";
            return Timing;
        }
        Timing = SendUntilLost(Port, Server, iSignal);
        Port.ClosePort();
    }
    // Whether killed or stopped, a server whose clients were still open keeps its slot.
    Server.FreeSlot();
    return Timing;
}

void BM_SendFailsAfterServerLoss(benchmark::State& State) {
    const int iSignal = static_cast<int>(State.range(0));
    double dWorst = 0;
    for (auto _ : State) {
        const tLossTiming Timing = MeasureOnce(iSignal);
        if (!Timing.Error.empty() || Timing.dSeconds < 0) {
            State.SkipWithError(Timing.Error.empty() ? "no send failed" : Timing.Error.c_str());
            return;
        }
        if (Timing.eResult != MMSYSERR_NODRIVER) {
            State.SkipWithError("the failed send did not say that the MIDI system went away");
            return;
        }
        dWorst = std::max(dWorst, Timing.dSeconds);
        State.SetIterationTime(Timing.dSeconds);
    }
    State.counters["worst_ms"] = dWorst * 1000.0;
    State.counters["target_ms"] = 2000;
}
BENCHMARK(BM_SendFailsAfterServerLoss)
    ->ArgName("signal")
    ->Arg(SIGTERM)
    ->Arg(SIGKILL)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
