// Time from the loss of the JACK server to the failed send that reports it, during a blind
// send: the transfer must end in error within 2 s of the MIDI system going away. Each iteration
// runs in a process of its own (a process that lost a server opens no JACK client again), which
// starts a JACK server of its own (never the shared one), sends 137-byte SysEx messages to a
// device on it as a blind transfer does, and stops (SIGTERM) or kills (SIGKILL) the server.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "jackserver/JackPeerDevice.h"
#include "jackserver/PrivateJackServer.h"
#include "midi/DeviceList.h"
#include "midi/MIDIOutPort.h"
#include "midi/MidiBackend.h"
#include "midi/rtmidi/RtMidiBackend.h"

namespace {

using tClock = std::chrono::steady_clock;

constexpr auto kGiveUp = std::chrono::seconds(30);

// What one measurement gives back through its pipe.
struct tLossTiming {
    double dSeconds = -1;  // from the signal to the failed send's return; -1: none came
    MMRESULT eResult = MMSYSERR_NOERROR;
    char szError[160] = {};
};

int DeviceIndex() {
    const std::vector<std::string> Names = MidiOutDeviceNames();
    for (size_t i = 0; i < Names.size(); ++i) {
        if (Names[i].find(cJackPeerDevice::kInName) != std::string::npos) {
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

void SetError(tLossTiming& Timing, const std::string& Error) {
    Error.copy(Timing.szError, sizeof(Timing.szError) - 1);
}

tLossTiming MeasureHere(int iSignal) {
    tLossTiming Timing;
    cPrivateJackServer Server(cPrivateJackServer::NameFor("loss-bench"));
    const std::string Error = Server.Start();
    if (!Error.empty()) {
        SetError(Timing, Error);
        return Timing;
    }
    {
        cRtMidiBackend Backend(RtMidi::UNIX_JACK);
        cScopedMidiBackend Installed(Backend);
        cJackPeerDevice Device;
        const int iDevice = Device.Open().empty() ? DeviceIndex() : -1;
        cMIDIOutPort Port;
        if (iDevice < 0 || Port.OpenPort(static_cast<uint32_t>(iDevice)) != MMSYSERR_NOERROR) {
            SetError(Timing, "the device on the private server could not be opened");
            return Timing;
        }
        Timing = SendUntilLost(Port, Server, iSignal);
        Port.ClosePort();
    }
    // Whether killed or stopped, a server whose clients were still open keeps its slot.
    Server.FreeSlot();
    return Timing;
}

// Measures in a child process and reads the result from a pipe.
tLossTiming MeasureOnce(int iSignal) {
    tLossTiming Timing;
    int aiPipe[2];
    if (pipe(aiPipe) != 0) {
        SetError(Timing, "no pipe");
        return Timing;
    }
    const pid_t iChild = fork();
    if (iChild == 0) {
        close(aiPipe[0]);
        const tLossTiming Measured = MeasureHere(iSignal);
        const bool bWritten = write(aiPipe[1], &Measured, sizeof(Measured)) == sizeof(Measured);
        _exit(bWritten ? 0 : 1);
    }
    close(aiPipe[1]);
    if (iChild < 0 || read(aiPipe[0], &Timing, sizeof(Timing)) != sizeof(Timing)) {
        Timing = tLossTiming{};
        SetError(Timing, "the measuring process gave no result");
    }
    close(aiPipe[0]);
    if (iChild > 0) {
        waitpid(iChild, nullptr, 0);
    }
    return Timing;
}

void BM_SendFailsAfterServerLoss(benchmark::State& State) {
    const int iSignal = static_cast<int>(State.range(0));
    double dWorst = 0;
    for (auto _ : State) {
        const tLossTiming Timing = MeasureOnce(iSignal);
        if (Timing.szError[0] != '\0' || Timing.dSeconds < 0) {
            State.SkipWithError(Timing.szError[0] != '\0' ? Timing.szError : "no send failed");
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
