#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/MessageRing.h"
#include "midi/driver/MidiConnector.h"
#include "midi/jack/JackPortClient.h"

// Output to one device on JACK's own API. Send puts the message in a ring that the client's
// process callback empties into the port in the next cycle. Before it queues a message, the
// cycles must have taken every earlier one, so a server that no longer runs its cycles fails
// the next send instead of letting songs be reported sent that never left the program; paced
// sends find the earlier message long taken and do not wait. The waits last only while the
// server runs its cycles, never longer than kTakeWait or kRoomWait: once the server has shut
// down or died, or the device's port has gone, Send fails at once.
class cJackOutConnection final : public iOutConnection {
  public:
    static constexpr size_t kRingBytes = size_t{64} * 1024;
    static constexpr std::chrono::milliseconds kRoomWait{1000};
    static constexpr std::chrono::milliseconds kTakeWait{1000};

    explicit cJackOutConnection(cBackendErrorTexts& Texts);
    cJackOutConnection(const cJackOutConnection&) = delete;
    cJackOutConnection& operator=(const cJackOutConnection&) = delete;
    // Gives the last messages a chance to leave, then closes the client: its process callback
    // reads the ring until then.
    ~cJackOutConnection() override;

    MMRESULT Open(const std::string& DevicePort, const std::string& OwnPort);
    MMRESULT Send(const std::vector<uint8_t>& Message) override;

  private:
    // Waits for room for uiBytes in the ring: MMSYSERR_NOERROR, the loss, or MIDIERR_NOTREADY.
    MMRESULT WaitForRoom(size_t uiBytes) const;
    // Waits until the cycles have taken every message queued so far: MMSYSERR_NOERROR, the
    // loss, or MIDIERR_NOTREADY (a server that stopped running its cycles).
    MMRESULT WaitUntilAllTaken() const;
    // Waits until the cycle that took the last message and a few after it have ended, so that
    // the ports the client feeds have read it before the client goes: a port in a loop of
    // connections reads a cycle late, and on a busy machine a client's cycle may end late.
    void WaitUntilDelivered() const;
    static constexpr uint64_t kCyclesToDeliver = 4;
    // Waits, polling, until Done() or for Wait at most: MMSYSERR_NOERROR, the loss, or
    // MIDIERR_NOTREADY.
    template <typename tDone>
    MMRESULT WaitFor(tDone Done, std::chrono::milliseconds Wait) const;
    static void Process(void* pPortBuffer, jack_nframes_t uiFrames, void* pArg);
    void WriteQueuedMessages(void* pPortBuffer);

    cBackendErrorTexts& Texts;
    cMessageRing Ring;
    // The largest message one cycle can carry, known from the first cycle on (0 before).
    std::atomic<size_t> LargestMessage{0};
    // Messages queued by Send, and messages the cycles have taken from the ring (written to the
    // port, or dropped as too large for any cycle).
    uint64_t Queued = 0;
    std::atomic<uint64_t> Taken{0};
    std::atomic<uint64_t> Cycles{0};  // process callbacks that have ended
    cJackPortClient Client;
};
