#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/MessageRing.h"
#include "midi/rtmidi/JackPortClient.h"
#include "midi/rtmidi/MidiConnector.h"

// Output to one device on JACK's own API. Send puts the message in a ring that the client's
// process callback empties into the port in the next cycle. Send waits for room in the ring
// only while the server takes data, and never longer than kRoomWait: once the server has shut
// down or died, or the device's port has gone, it fails at once.
class cJackOutConnection final : public iOutConnection {
  public:
    static constexpr size_t kRingBytes = size_t{64} * 1024;
    static constexpr std::chrono::milliseconds kRoomWait{1000};

    explicit cJackOutConnection(cBackendErrorTexts& Texts);
    cJackOutConnection(const cJackOutConnection&) = delete;
    cJackOutConnection& operator=(const cJackOutConnection&) = delete;
    // Closes the client first: its process callback reads the ring until then.
    ~cJackOutConnection() override { Client.Close(); }

    MMRESULT Open(const std::string& DevicePort, const std::string& OwnPort);
    MMRESULT Send(const std::vector<uint8_t>& Message) override;

  private:
    // Waits for room for uiBytes in the ring: MMSYSERR_NOERROR, the loss, or MIDIERR_NOTREADY.
    MMRESULT WaitForRoom(size_t uiBytes) const;
    static void Process(void* pPortBuffer, jack_nframes_t uiFrames, void* pArg);
    void WriteQueuedMessages(void* pPortBuffer);

    cBackendErrorTexts& Texts;
    cMessageRing Ring;
    // The largest message one cycle can carry, known from the first cycle on (0 before).
    std::atomic<size_t> uiLargestMessage{0};
    cJackPortClient Client;
};
