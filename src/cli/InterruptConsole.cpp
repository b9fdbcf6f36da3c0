#include <windows.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "cli/Interrupt.h"
#include "cli/InterruptHandlers.h"

namespace {

// SIGHUP's number, which Windows does not define: closing the console ends a command as a
// hang-up does, with status 129.
constexpr int kHangUp = 1;
// Windows ends the process once the handler of a closing console returns, and at the latest
// after 5 s: the handler waits that long, less a margin, for the command to clean up.
constexpr auto kCleanUpTime = std::chrono::milliseconds(4500);
constexpr auto kCleanUpPoll = std::chrono::milliseconds(10);

std::atomic<bool> gbGuarded{false};

void WaitForTheCommandToEnd() {
    const auto End = std::chrono::steady_clock::now() + kCleanUpTime;
    while (gbGuarded.load() && std::chrono::steady_clock::now() < End) {
        std::this_thread::sleep_for(kCleanUpPoll);
    }
}

// Runs on a thread that the system starts for each event.
BOOL WINAPI OnConsoleEvent(DWORD dwEvent) {
    switch (dwEvent) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            RequestInterrupt(SIGINT);
            return TRUE;
        case CTRL_CLOSE_EVENT:
            RequestInterrupt(kHangUp);
            WaitForTheCommandToEnd();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void InstallInterruptHandlers() {
    gbGuarded.store(true);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void RestoreInterruptHandlers() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    gbGuarded.store(false);
}
