#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <functional>

// A JACK client of the program's own, closed safely whatever has become of its server.
//
// Once a server has gone, JACK closes and frees every client of the process at the next client
// open, in whatever thread makes it. A client whose server went away is therefore never handed
// to JACK again: Close only waits for JACK's callbacks still running in it and leaves the
// client to JACK. The servers lost are counted for the whole process, and a client belongs to
// the count at its open, so any client that learns of the loss tells all the others.
//
// Every callback that JACK runs in the client (process, notifications) is wrapped in a
// cCallbackScope, so that Close can tell when none is running any more.
class cJackClient {
  public:
    cJackClient() = default;
    cJackClient(const cJackClient&) = delete;
    cJackClient& operator=(const cJackClient&) = delete;
    ~cJackClient() { Close(); }

    // Opens the client without starting a server; OnServerGone runs, on a thread of JACK's,
    // when its server shuts down or dies. False, with JACK's status, when no client opens.
    bool Open(const char* szName, std::function<void()> OnServerGone, jack_status_t& eStatus);
    // Ends the client: once it returns, no callback runs in it any more.
    void Close();

    jack_client_t* Get() const { return pClient; }
    // Whether the server of this client has shut down or died, as far as any client of the
    // process has learned.
    bool IsServerGone() const;

    // Marks a callback as running in the client for as long as it lives; Entered is false
    // when the client is closing and the callback is to do nothing.
    class cCallbackScope {
      public:
        explicit cCallbackScope(cJackClient& Client);
        cCallbackScope(const cCallbackScope&) = delete;
        cCallbackScope& operator=(const cCallbackScope&) = delete;
        ~cCallbackScope() { Client.iCallbacksRunning.fetch_sub(1); }
        bool Entered() const { return bEntered; }

      private:
        cJackClient& Client;
        bool bEntered;
    };

  private:
    static void OnShutdown(jack_status_t eCode, const char* szReason, void* pArg);
    void WaitForCallbacks() const;

    jack_client_t* pClient = nullptr;
    uint64_t uiServerGeneration = 0;
    std::function<void()> OnServerGone;
    std::atomic<bool> bClosing{false};
    std::atomic<int> iCallbacksRunning{0};
};
