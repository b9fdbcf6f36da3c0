#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

// Wakes the thread that runs a transfer when input arrives for it, so that a reply is acted on
// at once rather than at the next tick. Whoever is woken only runs the next step sooner: the
// waking thread (the MIDI input callback) never runs a step itself. A wake that comes while
// nobody waits is kept for the next wait.
class cTransferWaker {
  public:
    using tClock = std::chrono::steady_clock;

    // From any thread.
    void Wake();
    // Waits until Deadline or a wake, whichever comes first; true when woken. The wake is used up.
    bool WaitUntil(tClock::time_point Deadline);
    // Also called on each wake, on the waking thread, until set to null: for a window, which
    // cannot wait, to post itself a call. Once this returns, the one before is no longer called.
    void SetForward(std::function<void()> Forward);

  private:
    std::mutex Lock;
    std::condition_variable Woken;
    bool Pending = false;
    std::function<void()> Forward;
};

// The waker of the process's one transfer.
cTransferWaker& TransferWaker();
// Has the MIDI input wake TransferWaker() while On.
void WakeTransferOnInput(bool On);
