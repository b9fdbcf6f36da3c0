#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> gbInterrupted{false};
using tHandler = void (*)(int);
tHandler gPreviousInt = SIG_DFL;
tHandler gPreviousTerm = SIG_DFL;

extern "C" void OnInterrupt(int) {
    gbInterrupted.store(true);
}

}  // namespace

cInterruptGuard::cInterruptGuard() {
    gbInterrupted.store(false);
    gPreviousInt = std::signal(SIGINT, OnInterrupt);
    gPreviousTerm = std::signal(SIGTERM, OnInterrupt);
}

cInterruptGuard::~cInterruptGuard() {
    std::signal(SIGINT, gPreviousInt == SIG_ERR ? SIG_DFL : gPreviousInt);
    std::signal(SIGTERM, gPreviousTerm == SIG_ERR ? SIG_DFL : gPreviousTerm);
}

bool InterruptRequested() {
    return gbInterrupted.load();
}

void RequestInterrupt() {
    gbInterrupted.store(true);
}
