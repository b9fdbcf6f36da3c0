#include "app/TickWait.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/TransferRun.h"
#include "app/TransferWaker.h"

void WaitForNextTick(int32_t iMilliseconds, bool WakeOnInput, const cTransferRun& Run,
                     const std::function<bool()>& Stop) {
    using tClock = cTransferWaker::tClock;
    constexpr auto kSlice = std::chrono::milliseconds(10);
    const auto End = tClock::now() + std::chrono::milliseconds(iMilliseconds);
    for (auto Now = tClock::now(); Now < End && !Stop(); Now = tClock::now()) {
        const auto SliceEnd = std::min<tClock::time_point>(End, Now + kSlice);
        if (!WakeOnInput) {
            std::this_thread::sleep_until(SliceEnd);
        } else if (TransferWaker().WaitUntil(SliceEnd) && Run.InputWaiting()) {
            return;
        }
    }
}
