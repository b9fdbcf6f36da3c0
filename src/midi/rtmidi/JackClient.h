#pragma once

#include <jack/jack.h>

#include <cstdint>
#include <functional>
#include <memory>

// What a client does on JACK's threads while it is open. Each may be empty.
struct tJackHandlers {
    // The server shut down or died.
    std::function<void()> OnServerGone;
    // Every cycle, in JACK's process thread: nothing here may allocate or wait.
    void (*pProcess)(jack_nframes_t uiFrames, void* pArg) = nullptr;
    void* pProcessArg = nullptr;
    // JACK made or broke a connection between two ports.
    std::function<void(jack_port_id_t idA, jack_port_id_t idB, bool bConnected)> OnConnect;
};

struct tJackCallbackContext;

// A JACK client of the program's own, closed safely whatever has become of its server.
//
// Once a server has gone, JACK closes and frees every client of the process, with its threads,
// at the next client open, in whatever thread makes it. A client whose server went away is
// therefore never handed to JACK again: Close only makes its callbacks do nothing from then on,
// waits for those still running, and leaves the client to JACK; what the callbacks use is freed
// after the next client open of this class. The servers lost are counted for the whole process,
// and a client belongs to the count at its open, so any client that learns of a loss tells all
// the others.
class cJackClient {
  public:
    cJackClient();
    cJackClient(const cJackClient&) = delete;
    cJackClient& operator=(const cJackClient&) = delete;
    ~cJackClient();

    // Opens the client without starting a server and installs the handlers, which run from
    // now on (process and connections once the client is activated). False, with JACK's status,
    // when no client opens.
    bool Open(const char* szName, tJackHandlers Handlers, jack_status_t& eStatus);
    // Ends the client: once it returns, no handler runs any more.
    void Close();

    jack_client_t* Get() const { return pClient; }
    // Whether the server of this client has shut down or died, as far as any client of the
    // process has learned.
    bool IsServerGone() const;

  private:
    jack_client_t* pClient = nullptr;
    uint64_t uiServerGeneration = 0;
    std::unique_ptr<tJackCallbackContext> pContext;
};
