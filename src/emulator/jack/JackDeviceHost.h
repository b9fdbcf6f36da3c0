#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/DeviceHost.h"
#include "midi/driver/MessageRing.h"
#include "midi/jack/JackClient.h"

// The emulator's ports on JACK's own API: one client holding an input and an output port.
//
// One client, not a client per port as RtMidi opens: libjack keeps one table of wake-up objects
// per process, by client number, and when another program's client closes while this process's
// first client is still opening, the closed client's entry stays behind. A second client of this
// process that gets the freed number then waits on that stale object: it never runs, and the
// server's whole graph stalls with it, so the first song sent is lost.
class cJackDeviceHost final : public cDeviceHost {
  public:
    explicit cJackDeviceHost(std::string ClientName);
    cJackDeviceHost(const cJackDeviceHost&) = delete;
    cJackDeviceHost& operator=(const cJackDeviceHost&) = delete;
    ~cJackDeviceHost() override { Close(); }

    // Ready once the server has run the client with both ports in place.
    std::string Open() override;
    // From the runner's thread only: the ring to the process callback has one writer.
    void Send(const std::vector<uint8_t>& aucMessage) override;
    void CloseInput() override;
    void Close() override;
    std::string Description() const override;

  private:
    static void OnProcess(jack_nframes_t nFrames, void* pArg);
    void PassOnInput(jack_port_t* pPort, jack_nframes_t nFrames);
    void SendQueuedReplies(jack_port_t* pPort, jack_nframes_t nFrames);
    std::string Fail(const std::string& Why);
    bool WaitForCycles(uint64_t uiCycles);

    std::string ClientName;
    // The program's own JACK client: its open and close are bounded, whatever the server does.
    cJackClient Client;
    cMessageRing Replies;
    // Registered once the client runs, so that other programs see the ports only then.
    std::atomic<jack_port_t*> InPort{nullptr};
    std::atomic<jack_port_t*> OutPort{nullptr};
    std::atomic<uint64_t> CyclesRun{0};
};
