#pragma once

#include <atomic>
#include <future>

#include "midi/virtual/VirtualFaults.h"

// Input faults that hold the port's callback where it queues its first returned block again
// (the add-buffer call after the 32 made at open) until Release: that block is then being
// stored, and input after it waits.
class cHeldRequeue {
  public:
    tVirtualFaults Faults() {
        tVirtualFaults Holding;
        Holding.OnAddBuffer = [this] {
            if (++iAddBuffers == kBlocksAtOpen + 1) {
                Held.set_value();
                GoOnSignal.wait();
            }
        };
        return Holding;
    }
    void WaitUntilHeld() { HeldSignal.wait(); }
    void Release() { GoOn.set_value(); }

  private:
    static constexpr int kBlocksAtOpen = 32;
    std::promise<void> Held;
    std::future<void> HeldSignal = Held.get_future();
    std::promise<void> GoOn;
    std::shared_future<void> GoOnSignal = GoOn.get_future().share();
    std::atomic<int> iAddBuffers{0};
};
