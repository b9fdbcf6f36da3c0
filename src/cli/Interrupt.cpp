#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace {

using tHandler = void (*)(int);

// The signals a command ends on, with the handlers they had before the guard.
struct tHandledSignal {
    int iSignal;
    tHandler pPrevious;
};

tHandledSignal gSignals[] = {
    {SIGINT, SIG_DFL},
    {SIGTERM, SIG_DFL},
#ifdef SIGHUP
    {SIGHUP, SIG_DFL},
#endif
};

std::atomic<int> giSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnSignal(int iSignal) {
    int iNone = 0;
    giSignal.compare_exchange_strong(iNone, iSignal);  // the first signal decides the status
}

}  // namespace

cInterruptGuard::cInterruptGuard() {
    giSignal.store(0);
    for (tHandledSignal& Signal : gSignals) {
        Signal.pPrevious = std::signal(Signal.iSignal, OnSignal);
    }
}

cInterruptGuard::~cInterruptGuard() {
    for (const tHandledSignal& Signal : gSignals) {
        std::signal(Signal.iSignal, Signal.pPrevious == SIG_ERR ? SIG_DFL : Signal.pPrevious);
    }
}

bool InterruptRequested() {
    return giSignal.load() != 0;
}

int InterruptStatus() {
    return 128 + giSignal.load();
}

void RequestInterrupt(int iSignal) {
    OnSignal(iSignal);
}
