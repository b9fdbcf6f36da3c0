#include <csignal>

#include "cli/Interrupt.h"
#include "cli/InterruptHandlers.h"

namespace {

using tHandler = void (*)(int);

// The signals a command ends on, with the handlers they had before the guard.
struct tHandledSignal {
    int iSignal;
    tHandler Previous;
};

tHandledSignal gSignals[] = {
    {SIGINT, SIG_DFL},
    {SIGTERM, SIG_DFL},
#ifdef SIGHUP
    {SIGHUP, SIG_DFL},
#endif
};

extern "C" void OnSignal(int iSignal) {
    RequestInterrupt(iSignal);
}

}  // namespace

void InstallInterruptHandlers() {
    for (tHandledSignal& Signal : gSignals) {
        Signal.Previous = std::signal(Signal.iSignal, OnSignal);
    }
}

void RestoreInterruptHandlers() {
    for (const tHandledSignal& Signal : gSignals) {
        std::signal(Signal.iSignal, Signal.Previous == SIG_ERR ? SIG_DFL : Signal.Previous);
    }
}
