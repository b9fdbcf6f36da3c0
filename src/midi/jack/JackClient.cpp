#include "midi/jack/JackClient.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// What JACK's callbacks of one client point to. It outlives the client object when the client
// is left to JACK.
struct tJackCallbackContext {
    tJackHandlers Handlers;
    std::atomic<bool> Closing{false};
    std::atomic<int> Running{0};
};

namespace {

// Whether a client of the process has seen its server go away.
std::atomic<bool> bServerLost{false};

// A callback still running in a client whose server has gone returns at once, unless JACK
// cancelled its thread in the middle: then Close stops waiting after this long.
constexpr auto kCallbackWait = std::chrono::seconds(1);
constexpr auto kCallbackPoll = std::chrono::milliseconds(1);

// Marks a callback as running for as long as it lives. Counted before the check, so that Close
// either sees it running or it sees Close.
class cCallbackScope {
  public:
    explicit cCallbackScope(tJackCallbackContext& Context) : Context(Context) {
        Context.Running.fetch_add(1);
        HasEntered = !Context.Closing.load();
    }
    cCallbackScope(const cCallbackScope&) = delete;
    cCallbackScope& operator=(const cCallbackScope&) = delete;
    ~cCallbackScope() { Context.Running.fetch_sub(1); }
    bool Entered() const { return HasEntered; }

  private:
    tJackCallbackContext& Context;
    bool HasEntered;
};

void WaitForCallbacks(const tJackCallbackContext& Context) {
    const auto GiveUp = std::chrono::steady_clock::now() + kCallbackWait;
    while (Context.Running.load() > 0 && std::chrono::steady_clock::now() < GiveUp) {
        std::this_thread::sleep_for(kCallbackPoll);
    }
}

void OnShutdown(jack_status_t, const char*, void* pArg) {
    auto& Context = *static_cast<tJackCallbackContext*>(pArg);
    const cCallbackScope Scope(Context);
    bServerLost.store(true);
    if (Scope.Entered() && Context.Handlers.OnServerGone) {
        Context.Handlers.OnServerGone();
    }
}

int OnProcess(jack_nframes_t uiFrames, void* pArg) {
    auto& Context = *static_cast<tJackCallbackContext*>(pArg);
    const cCallbackScope Scope(Context);
    if (Scope.Entered()) {
        Context.Handlers.pProcess(uiFrames, Context.Handlers.ProcessArg);
    }
    return 0;
}

void OnConnect(jack_port_id_t idA, jack_port_id_t idB, int iConnected, void* pArg) {
    auto& Context = *static_cast<tJackCallbackContext*>(pArg);
    const cCallbackScope Scope(Context);
    if (Scope.Entered()) {
        Context.Handlers.OnConnect(idA, idB, iConnected != 0);
    }
}

// A call into JACK that the program waits for a while, then leaves to finish on its own.
enum tCallState : int { CALL_RUNNING, CALL_FINISHED, CALL_GIVEN_UP };

// Runs Call on a thread of its own and waits up to Wait for it. True when it finished in time;
// otherwise it goes on alone, counted in Pending until it returns, and then Late runs after it.
template <typename tCall, typename tLate>
bool CallWithinWait(tCall Call, std::chrono::milliseconds Wait, std::atomic<int>& Pending,
                    tLate Late) {
    auto pState = std::make_shared<std::atomic<int>>(CALL_RUNNING);
    std::thread([Call, Late, pState, &Pending] {
        Call();
        if (pState->exchange(CALL_FINISHED) == CALL_GIVEN_UP) {
            Late();
            Pending.fetch_sub(1);
        }
    }).detach();
    const auto GiveUp = std::chrono::steady_clock::now() + Wait;
    while (pState->load() == CALL_RUNNING && std::chrono::steady_clock::now() < GiveUp) {
        std::this_thread::sleep_for(kCallbackPoll);
    }
    Pending.fetch_add(1);
    int eRunning = CALL_RUNNING;
    if (pState->compare_exchange_strong(eRunning, CALL_GIVEN_UP)) {
        return false;
    }
    Pending.fetch_sub(1);
    return true;
}

// A close that the server does not finish: its graph holds a client that no longer runs (a
// stopped program), and the server waits seconds for it at every change of the graph. The close
// is then left to finish on its own thread rather than hold up the program.
constexpr auto kCloseWait = std::chrono::seconds(1);

// Closes that were given up on and have not returned yet. While one is pending the graph is
// still stuck, so later closes do not wait either.
std::atomic<int> iPendingCloses{0};

// True when the client closed within kCloseWait; otherwise its close goes on in the background.
bool CloseWithinWait(jack_client_t* pClient) {
    const auto Wait = iPendingCloses.load() > 0 ? std::chrono::seconds(0) : kCloseWait;
    return CallWithinWait([pClient] { jack_client_close(pClient); }, Wait, iPendingCloses, [] {});
}

// An open that the server does not answer: a client stopped in the middle of its own open holds
// up the server's opens for as long as it stays stopped. After this long the open is given up.
constexpr auto kOpenWait = std::chrono::seconds(3);

// Opens given up on that have not returned yet. JACK opens one client at a time, so while one
// is pending the next cannot get through either: it fails at once.
std::atomic<int> iPendingOpens{0};

struct tOpening {
    jack_client_t* OpenedClient = nullptr;
    jack_status_t Status{};
};

// The client, or null with JACK's status; bGivenUp when the server did not answer in time. A
// client that comes after all is closed at once.
jack_client_t* OpenWithinWait(const char* szName, jack_status_t& eStatus, bool& bGivenUp) {
    bGivenUp = iPendingOpens.load() > 0;
    if (bGivenUp) {
        return nullptr;
    }
    auto pOpening = std::make_shared<tOpening>();
    const auto Open = [pOpening, Name = std::string(szName)] {
        pOpening->OpenedClient =
            jack_client_open(Name.c_str(), JackNoStartServer, &pOpening->Status);
    };
    const auto CloseLateClient = [pOpening] {
        if (pOpening->OpenedClient != nullptr) {
            jack_client_close(pOpening->OpenedClient);
        }
    };
    bGivenUp = !CallWithinWait(Open, kOpenWait, iPendingOpens, CloseLateClient);
    if (bGivenUp) {
        return nullptr;
    }
    eStatus = pOpening->Status;
    return pOpening->OpenedClient;
}

// The callback contexts of clients left to JACK, kept to the process's end: a callback may
// still come. Held here rather than dropped, so that they stay reachable (no leak report).
void KeepForJack(std::unique_ptr<tJackCallbackContext> pContext) {
    static std::mutex Mutex;
    static auto* pKept = new std::vector<std::unique_ptr<tJackCallbackContext>>;
    const std::lock_guard<std::mutex> Lock(Mutex);
    pKept->push_back(std::move(pContext));
}

// libjack writes its own diagnostics to stderr ("Cannot connect to server socket", "read
// fail" when a server dies); the program says what failed in its own words instead.
void IgnoreJackMessage(const char*) {}

}  // namespace

cJackClient::cJackClient() = default;

cJackClient::~cJackClient() {
    Close();
}

bool cJackClient::Open(const char* szName, tJackHandlers Handlers, jack_status_t& eStatus) {
    if (IsServerGone()) {
        eStatus = JackServerFailed;
        return false;
    }
    CallbackContext = std::make_unique<tJackCallbackContext>();
    CallbackContext->Handlers = std::move(Handlers);
    jack_set_error_function(&IgnoreJackMessage);
    jack_set_info_function(&IgnoreJackMessage);
    Client = OpenWithinWait(szName, eStatus, Unanswered);
    if (Client == nullptr) {
        CallbackContext.reset();
        return false;
    }
    jack_on_info_shutdown(Client, &OnShutdown, CallbackContext.get());
    if (CallbackContext->Handlers.pProcess != nullptr) {
        jack_set_process_callback(Client, &OnProcess, CallbackContext.get());
    }
    if (CallbackContext->Handlers.OnConnect) {
        jack_set_port_connect_callback(Client, &OnConnect, CallbackContext.get());
    }
    return true;
}

bool cJackClient::IsServerGone() {
    return bServerLost.load();
}

void cJackClient::Close() {
    if (Client == nullptr) {
        return;
    }
    CallbackContext->Closing.store(true);
    if (!IsServerGone() && CloseWithinWait(Client)) {
        CallbackContext.reset();  // the client's threads have ended
    } else {
        WaitForCallbacks(*CallbackContext);
        // JACK's threads of the client may still start a callback, which then does nothing.
        KeepForJack(std::move(CallbackContext));
    }
    Client = nullptr;
}
