#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Version.h"
#include "emulator/DeviceRunner.h"
#include "emulator/EmulatorCommandLine.h"
#include "emulator/RtMidiDeviceHost.h"
#include "emulator/TavDevice.h"
#include "midi/rtmidi/RtMidiApiChoice.h"

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

int RunEmulator(const tTavDeviceOptions& Options) {
    std::error_code Error;
    if (!std::filesystem::is_directory(Options.StoreFolder, Error)) {
        std::cerr << kEmulatorName << ": cannot store songs in '" << Options.StoreFolder.string()
                  << "': no such folder\n";
        return kExitFailure;
    }
    cRtMidiDeviceHost Host(kPortName);
    const std::string OpenError = Host.Open(ChooseMidiApi());
    if (!OpenError.empty()) {
        std::cerr << kEmulatorName << ": " << OpenError << "\n";
        return kExitFailure;
    }
    cTavDevice Device(Options);
    cLinePrinter Printer;
    cDeviceRunner Runner(
        Device, [&Host](const std::vector<uint8_t>& aucMessage) { Host.Send(aucMessage); },
        [&Printer](const std::string& Line) { Printer.Print(Line); });
    Host.Attach(&Runner);
    Printer.Print(std::string(kPortName) + " ready: ports \"" + kPortName + "\" (in and out) on " +
                  Host.ApiName() + ", storing songs in " +
                  std::filesystem::absolute(Options.StoreFolder, Error).string());

    while (!bStopRequested.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Host.CloseInput();
    Runner.Stop();
    Host.Close();
    for (const std::string& Line : Device.SwitchOff().ReportLines) {
        Printer.Print(Line);
    }
    return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    const tEmulatorCommandLine Parsed =
        ParseEmulatorCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!Parsed.Error.empty()) {
        return UsageError(Parsed.Error);
    }
    if (Parsed.bHelp) {
        PrintEmulatorHelp(std::cout);
        return kExitSuccess;
    }
    if (Parsed.bVersion) {
        std::cout << kEmulatorName << " " << kSongLoaderVersion << "\n";
        return kExitSuccess;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    return RunEmulator(Parsed.Options);
}
