#pragma once

// Ctrl-C (SIGINT), SIGTERM and SIGHUP, while a guard lives, only raise a flag that the commands
// look at between steps, so that they end as the user's Abort would: ports closed, work files
// removed. The command then ends with the status a shell reports for that signal. On Windows the
// console's Ctrl-C and Ctrl-Break count as Ctrl-C, and closing the console window as SIGHUP.
class cInterruptGuard {
  public:
    cInterruptGuard();
    cInterruptGuard(const cInterruptGuard&) = delete;
    cInterruptGuard& operator=(const cInterruptGuard&) = delete;
    ~cInterruptGuard();
};

bool InterruptRequested();
// 128 + the signal's number: 130 after Ctrl-C, 143 after SIGTERM, 129 after SIGHUP.
int InterruptStatus();
// What a signal's handler does, for the tests: raises the flag for iSignal.
void RequestInterrupt(int iSignal);
