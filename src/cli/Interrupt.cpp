#include "cli/Interrupt.h"

#include <atomic>

#include "cli/InterruptHandlers.h"

namespace {

std::atomic<int> giSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

cInterruptGuard::cInterruptGuard() {
    giSignal.store(0);
    InstallInterruptHandlers();
}

cInterruptGuard::~cInterruptGuard() {
    RestoreInterruptHandlers();
}

bool InterruptRequested() {
    return giSignal.load() != 0;
}

int InterruptStatus() {
    return 128 + giSignal.load();
}

void RequestInterrupt(int iSignal) {
    int iNone = 0;
    giSignal.compare_exchange_strong(iNone, iSignal);  // the first signal decides the status
}
