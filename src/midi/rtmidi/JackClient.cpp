#include "midi/rtmidi/JackClient.h"

#include <chrono>
#include <thread>
#include <utility>

namespace {

// How many servers the process has seen go away.
std::atomic<uint64_t> uiServersLost{0};

// A callback still running in a client whose server has gone returns at once, unless JACK
// cancelled its thread in the middle: then Close stops waiting after this long.
constexpr auto kCallbackWait = std::chrono::seconds(1);
constexpr auto kCallbackPoll = std::chrono::milliseconds(1);

}  // namespace

cJackClient::cCallbackScope::cCallbackScope(cJackClient& Client) : Client(Client) {
    // Counted before the check, so that Close either sees it running or it sees Close.
    Client.iCallbacksRunning.fetch_add(1);
    bEntered = !Client.bClosing.load();
}

bool cJackClient::Open(const char* szName, std::function<void()> OnGone, jack_status_t& eStatus) {
    OnServerGone = std::move(OnGone);
    bClosing.store(false);
    uiServerGeneration = uiServersLost.load();
    pClient = jack_client_open(szName, JackNoStartServer, &eStatus);
    if (pClient == nullptr) {
        return false;
    }
    jack_on_info_shutdown(pClient, &cJackClient::OnShutdown, this);
    return true;
}

bool cJackClient::IsServerGone() const {
    return uiServersLost.load() != uiServerGeneration;
}

void cJackClient::Close() {
    if (pClient == nullptr) {
        return;
    }
    bClosing.store(true);
    if (IsServerGone()) {
        WaitForCallbacks();
    } else {
        // Its threads have ended when this returns.
        jack_client_close(pClient);
    }
    pClient = nullptr;
}

void cJackClient::WaitForCallbacks() const {
    const auto GiveUp = std::chrono::steady_clock::now() + kCallbackWait;
    while (iCallbacksRunning.load() > 0 && std::chrono::steady_clock::now() < GiveUp) {
        std::this_thread::sleep_for(kCallbackPoll);
    }
}

void cJackClient::OnShutdown(jack_status_t, const char*, void* pArg) {
    auto* pSelf = static_cast<cJackClient*>(pArg);
    cCallbackScope Scope(*pSelf);
    uint64_t uiGeneration = pSelf->uiServerGeneration;
    uiServersLost.compare_exchange_strong(uiGeneration, uiGeneration + 1);
    if (Scope.Entered() && pSelf->OnServerGone) {
        pSelf->OnServerGone();
    }
}
