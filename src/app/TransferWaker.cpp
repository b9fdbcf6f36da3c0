#include "app/TransferWaker.h"

#include <utility>

#include "midi/MIDIInPort.h"

void cTransferWaker::Wake() {
    const std::lock_guard<std::mutex> Held(Lock);
    Pending = true;
    Woken.notify_all();
    if (Forward) {
        Forward();
    }
}

bool cTransferWaker::WaitUntil(tClock::time_point Deadline) {
    std::unique_lock<std::mutex> Held(Lock);
    Woken.wait_until(Held, Deadline, [this] { return Pending; });
    const bool WasWoken = Pending;
    Pending = false;
    return WasWoken;
}

void cTransferWaker::SetForward(std::function<void()> NewForward) {
    const std::lock_guard<std::mutex> Held(Lock);
    Forward = std::move(NewForward);
}

cTransferWaker& TransferWaker() {
    static cTransferWaker Waker;
    return Waker;
}

namespace {

void WakeTransfer() {
    TransferWaker().Wake();
}

}  // namespace

void WakeTransferOnInput(bool On) {
    cMIDIInPort::SetArrivalNotice(On ? &WakeTransfer : nullptr);
}
