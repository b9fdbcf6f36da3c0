#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Version.h"
#include "emulator/DeviceHost.h"
#include "emulator/DeviceRunner.h"
#include "emulator/EmulatorCommandLine.h"
#include "emulator/RtMidiDeviceHost.h"
#include "emulator/SongStore.h"
#include "emulator/TavDevice.h"
#include "midi/rtmidi/RtMidiApiChoice.h"
#ifdef SONGLOADER_EMULATOR_JACK
#include "emulator/jack/JackDeviceHost.h"
#endif

namespace {

constexpr const char* kPortName = "TAV Emulator";
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::atomic<bool> bStopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void RequestStop(int) {
    bStopRequested.store(true);
}

// Lines come from the runner's thread and from this one; each leaves whole and at once, since
// scripts read them through a pipe.
class cLinePrinter {
  public:
    void Print(const std::string& Line) {
        const std::lock_guard<std::mutex> Lock(Mutex);
        std::cout << Line << std::endl;
    }

  private:
    std::mutex Mutex;
};

int UsageError(const std::string& Message) {
    std::cerr << kEmulatorName << ": " << Message << "\n"
              << "Try '" << kEmulatorName << " --help' for more information.\n";
    return kExitUsage;
}

int Failure(const std::string& Message) {
    std::cerr << kEmulatorName << ": " << Message << "\n";
    return kExitFailure;
}

// JACK through its own API where it is built in: RtMidi would give each port a client of its own.
std::unique_ptr<cDeviceHost> MakeHost() {
    const RtMidi::Api eApi = ChooseMidiApi();
#ifdef SONGLOADER_EMULATOR_JACK
    if (eApi == RtMidi::UNIX_JACK) {
        return std::make_unique<cJackDeviceHost>(kPortName);
    }
#endif
    return std::make_unique<cRtMidiDeviceHost>(kPortName, eApi);
}

int RunEmulator(const tTavDeviceOptions& Options, const tWireOptions& Wire) {
    const std::string StoreFault = cSongStore(Options.StoreFolder).CheckFolder();
    if (!StoreFault.empty()) {
        return Failure("cannot store songs in '" + Options.StoreFolder.string() +
                       "': " + StoreFault);
    }
    cTavDevice Device(Options);
    cLinePrinter Printer;
    const std::unique_ptr<cDeviceHost> pHost = MakeHost();
    cDeviceRunner Runner(
        Device, [&pHost](const std::vector<uint8_t>& aucMessage) { pHost->Send(aucMessage); },
        [&Printer](const std::string& Line) { Printer.Print(Line); }, Wire);
    pHost->Attach(&Runner);
    const std::string OpenError = pHost->Open();
    if (!OpenError.empty()) {
        return Failure(OpenError);
    }
    std::error_code Error;
    Printer.Print(std::string(kPortName) + " ready: " + pHost->Description() +
                  ", storing songs in " +
                  std::filesystem::absolute(Options.StoreFolder, Error).string());

    while (!bStopRequested.load() && !pHost->IsLost()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pHost->CloseInput();
    Runner.Stop();
    pHost->Close();
    for (const std::string& Line : Device.SwitchOff().ReportLines) {
        Printer.Print(Line);
    }
    return pHost->IsLost() ? Failure("the MIDI system went away") : kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    const tEmulatorCommandLine Parsed =
        ParseEmulatorCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!Parsed.Error.empty()) {
        return UsageError(Parsed.Error);
    }
    if (Parsed.Help) {
        PrintEmulatorHelp(std::cout);
        return kExitSuccess;
    }
    if (Parsed.Version) {
        std::cout << kEmulatorName << " " << kSongLoaderVersion << "\n";
        return kExitSuccess;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    return RunEmulator(Parsed.Options, Parsed.Wire);
}
