#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "emulator/MessageSplitter.h"
#include "emulator/TavDevice.h"

// Runs a cTavDevice on a thread of its own: MIDI input hands it bytes from any thread, as the
// MIDI API delivers them, and it answers each message through the send function when the
// reply's delay has passed, in the order the replies fall due. Report lines go to the line
// function from the same thread.
class cDeviceRunner {
  public:
    using tClock = std::chrono::steady_clock;
    using tSendFunction = std::function<void(const std::vector<uint8_t>&)>;
    using tLineFunction = std::function<void(const std::string&)>;

    cDeviceRunner(cTavDevice& Device, tSendFunction Send, tLineFunction PrintLine);
    cDeviceRunner(const cDeviceRunner&) = delete;
    cDeviceRunner& operator=(const cDeviceRunner&) = delete;
    ~cDeviceRunner() { Stop(); }

    // Safe from any thread, but from one at a time: the bytes of one input, in order. A delivery
    // may hold several messages, or a part of a SysEx. What comes after Stop is dropped.
    void PostMessage(const uint8_t* pucMessage, size_t uiLength);
    // Finishes the message in hand, drops replies not yet due, and joins the thread. The device
    // is then the caller's again.
    void Stop();

  private:
    struct tIncoming {
        std::vector<uint8_t> aucMessage;
        tClock::time_point Arrival;
    };
    struct tPendingReply {
        tClock::time_point Due;
        uint64_t uiOrder;  // replies due at the same moment leave in the order they were made
        std::vector<uint8_t> aucMessage;
        bool operator>(const tPendingReply& Other) const {
            return Due != Other.Due ? Due > Other.Due : uiOrder > Other.uiOrder;
        }
    };

    void Run();
    void Handle(const tIncoming& Delivery);
    std::vector<tIncoming> WaitForWork();
    void SendDueReplies();

    cTavDevice& Device;
    tSendFunction Send;
    tLineFunction PrintLine;
    std::mutex Mutex;
    std::condition_variable WorkArrived;
    std::vector<tIncoming> Inbox;               // guarded by Mutex
    bool bStopping = false;                     // guarded by Mutex
    std::vector<tPendingReply> PendingReplies;  // a min-heap; only the runner's thread
    cMessageSplitter Splitter;                  // only the runner's thread
    uint64_t uiNextOrder = 0;
    std::thread Thread;
};
