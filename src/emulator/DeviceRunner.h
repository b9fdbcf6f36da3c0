#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "emulator/MessageSplitter.h"
#include "emulator/MidiWire.h"
#include "emulator/TavDevice.h"

// Runs a cTavDevice on a thread of its own: MIDI input hands it bytes from any thread, as the
// MIDI API delivers them, and it answers each message through the send function when the
// reply's delay has passed, in the order the replies fall due. Report lines go to the line
// function from the same thread.
//
// With a MIDI wire, the bytes reach the device only once they have crossed the wire (those the
// buffer in front of it loses never do), and each reply leaves once its own bytes have crossed
// the wire back.
class cDeviceRunner {
  public:
    using tClock = std::chrono::steady_clock;
    using tSendFunction = std::function<void(const std::vector<uint8_t>&)>;
    using tLineFunction = std::function<void(const std::string&)>;

    cDeviceRunner(cTavDevice& Device, tSendFunction Send, tLineFunction PrintLine,
                  tWireOptions Wire = {});
    cDeviceRunner(const cDeviceRunner&) = delete;
    cDeviceRunner& operator=(const cDeviceRunner&) = delete;
    ~cDeviceRunner() { Stop(); }

    // Safe from any thread, but from one at a time: the bytes of one input, in order. A delivery
    // may hold several messages, or a part of a SysEx. What comes after Stop is dropped.
    void PostMessage(const uint8_t* pucMessage, size_t uiLength);
    // Finishes the message in hand, drops replies not yet due and bytes still on the wire, and
    // joins the thread. The device is then the caller's again.
    void Stop();

  private:
    struct tIncoming {
        std::vector<uint8_t> MessageBytes;
        tClock::time_point Arrival;
    };
    struct tCrossingBytes {
        std::vector<uint8_t> Bytes;
        size_t LostBytes = 0;  // the bytes after them, which the wire's buffer lost
        tClock::time_point Across;
    };
    struct tPendingReply {
        tClock::time_point Due;
        uint64_t Order;  // replies due at the same moment leave in the order they were made
        std::vector<uint8_t> MessageBytes;
        bool operator>(const tPendingReply& Other) const {
            return Due != Other.Due ? Due > Other.Due : Order > Other.Order;
        }
    };
    struct tLeavingReply {
        tClock::time_point Across;
        std::vector<uint8_t> MessageBytes;
    };

    void Run();
    std::vector<tIncoming> WaitForWork();
    std::optional<tClock::time_point> NextEvent() const;
    void Take(tIncoming Delivery);
    void CatchUp(tClock::time_point Now);
    void Deliver(const std::vector<uint8_t>& aucBytes, tClock::time_point Arrival);
    void Answer(tPendingReply Reply);

    cTavDevice& Device;
    tSendFunction Send;
    tLineFunction PrintLine;
    std::mutex Mutex;
    std::condition_variable WorkArrived;
    std::vector<tIncoming> Inbox;  // guarded by Mutex
    bool Stopping = false;         // guarded by Mutex
    // The rest belongs to the runner's thread.
    std::vector<tPendingReply> PendingReplies;  // a min-heap
    cMessageSplitter Splitter;
    uint64_t NextOrder = 0;
    std::optional<cMidiWire> ToDevice;
    std::optional<cMidiWire> FromDevice;
    std::deque<tCrossingBytes> Crossing;  // on the wire toward the device, in order
    std::deque<tLeavingReply> Leaving;    // replies on the wire back, in order
    std::thread Thread;
};
