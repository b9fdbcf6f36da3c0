#pragma once

#include <jack/jack.h>

#include <functional>
#include <memory>

// What a client does on JACK's threads while it is open. Each may be empty.
struct tJackHandlers {
    // The server shut down or died.
    std::function<void()> OnServerGone;
    // Every cycle, in JACK's process thread: nothing here may allocate or wait.
    void (*pProcess)(jack_nframes_t uiFrames, void* pArg) = nullptr;
    void* ProcessArg = nullptr;
    // JACK made or broke a connection between two ports.
    std::function<void(jack_port_id_t idA, jack_port_id_t idB, bool bConnected)> OnConnect;
};

struct tJackCallbackContext;

// A JACK client of the program's own, closed safely whatever has become of its server.
//
// Once a server has gone, JACK closes and frees every client of the process at the next client
// open, cancelling their threads, and it can then wait for ever on a lock that a cancelled
// thread still held. So after a server has been lost no client is opened again in this process
// (using a new server takes a new start of the program), and the clients of the lost server are
// never handed to JACK again: Close makes their callbacks do nothing from then on, waits for
// those still running, and leaves the client, and what its callbacks use, to the process's end.
// Any client that learns of the loss tells all the others. A close that the server has not
// finished within a second (a stopped program's client holds up its graph) is left to finish on
// a thread of its own, in the same way. So is an open that the server has not answered within
// a few seconds (a client stopped while it opened holds up every open): the open then fails,
// and the client, should it come later, is closed on that thread.
class cJackClient {
  public:
    cJackClient();
    cJackClient(const cJackClient&) = delete;
    cJackClient& operator=(const cJackClient&) = delete;
    ~cJackClient();

    // Opens the client without starting a server and installs the handlers, which run from
    // now on (process and connections once the client is activated). False, with JACK's status,
    // when no client opens; after a server was lost, false with JackServerFailed at once; when
    // the server does not answer in time, false with NoAnswer() true.
    bool Open(const char* szName, tJackHandlers Handlers, jack_status_t& eStatus);
    bool NoAnswer() const { return Unanswered; }
    // Ends the client: once it returns, no handler runs any more.
    void Close();

    jack_client_t* Get() const { return Client; }
    // Whether the server has shut down or died, as far as any client of the process has learned.
    static bool IsServerGone();

  private:
    jack_client_t* Client = nullptr;
    std::unique_ptr<tJackCallbackContext> CallbackContext;
    bool Unanswered = false;
};
