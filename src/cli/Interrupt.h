#pragma once

// Ctrl-C (SIGINT) and SIGTERM, while a guard lives, only raise a flag that long-running
// commands look at between steps, so that they end as the user's Abort would: ports closed,
// files cleaned up.
class cInterruptGuard {
  public:
    cInterruptGuard();
    cInterruptGuard(const cInterruptGuard&) = delete;
    cInterruptGuard& operator=(const cInterruptGuard&) = delete;
    ~cInterruptGuard();
};

bool InterruptRequested();
void RequestInterrupt();
