#include "emulator/jack/JackDeviceHost.h"

#include <jack/midiport.h>

#include <chrono>
#include <iostream>
#include <thread>

#include "emulator/DeviceRunner.h"

namespace {

constexpr size_t kReplyRingBytes = 1 << 16;
constexpr auto kReadyTimeout = std::chrono::seconds(5);
constexpr auto kReadyPoll = std::chrono::milliseconds(1);

}  // namespace

cJackDeviceHost::cJackDeviceHost(std::string ClientName)
    : ClientName(std::move(ClientName)), Replies(kReplyRingBytes) {}

std::string cJackDeviceHost::Open() {
    tJackHandlers Handlers;
    Handlers.OnServerGone = [this] { SetLost(); };
    Handlers.pProcess = &cJackDeviceHost::OnProcess;
    Handlers.ProcessArg = this;
    jack_status_t eStatus{};
    if (!Client.Open(ClientName.c_str(), std::move(Handlers), eStatus)) {
        return Fail(Client.NoAnswer() ? "the JACK server does not answer"
                                      : "no JACK server answers");
    }
    if (jack_activate(Client.Get()) != 0) {
        return Fail("the client cannot be activated");
    }
    if (!WaitForCycles(1)) {
        return Fail("the server does not run the client");
    }
    OutPort.store(jack_port_register(Client.Get(), (ClientName + " out").c_str(),
                                     JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0));
    InPort.store(jack_port_register(Client.Get(), (ClientName + " in").c_str(),
                                    JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0));
    if (OutPort.load() == nullptr || InPort.load() == nullptr) {
        return Fail("the ports cannot be registered");
    }
    // A cycle that begins after the ports exist has them in the graph.
    if (!WaitForCycles(2)) {
        return Fail("the server does not run the client");
    }
    return {};
}

std::string cJackDeviceHost::Fail(const std::string& Why) {
    Close();
    return "cannot open the MIDI ports \"" + ClientName + "\" on JACK: " + Why;
}

bool cJackDeviceHost::WaitForCycles(uint64_t uiCycles) {
    const uint64_t uiTarget = CyclesRun.load() + uiCycles;
    const auto Deadline = std::chrono::steady_clock::now() + kReadyTimeout;
    while (CyclesRun.load() < uiTarget) {
        if (IsLost() || std::chrono::steady_clock::now() > Deadline) {
            return false;
        }
        std::this_thread::sleep_for(kReadyPoll);
    }
    return true;
}

void cJackDeviceHost::Send(const std::vector<uint8_t>& aucMessage) {
    if (!Replies.Push(aucMessage.data(), aucMessage.size())) {
        std::cerr << "tav-emulator: cannot send a reply: the queue to JACK is full" << std::endl;
    }
}

// Runs on JACK's process thread, once per cycle.
void cJackDeviceHost::OnProcess(jack_nframes_t nFrames, void* pArg) {
    auto* pHost = static_cast<cJackDeviceHost*>(pArg);
    if (jack_port_t* pPort = pHost->InPort.load()) {
        pHost->PassOnInput(pPort, nFrames);
    }
    if (jack_port_t* pPort = pHost->OutPort.load()) {
        pHost->SendQueuedReplies(pPort, nFrames);
    }
    pHost->CyclesRun.fetch_add(1);
}

// The runner only queues what it is given, so handing it the bytes here keeps the cycle short.
void cJackDeviceHost::PassOnInput(jack_port_t* pPort, jack_nframes_t nFrames) {
    void* pBuffer = jack_port_get_buffer(pPort, nFrames);
    const uint32_t uiEvents = jack_midi_get_event_count(pBuffer);
    for (uint32_t i = 0; i < uiEvents; ++i) {
        jack_midi_event_t Event;
        if (jack_midi_event_get(&Event, pBuffer, i) == 0) {
            PassOn(Event.buffer, Event.size);
        }
    }
}

// A reply that does not fit into this cycle's buffer waits for the next cycle.
void cJackDeviceHost::SendQueuedReplies(jack_port_t* pPort, jack_nframes_t nFrames) {
    void* pBuffer = jack_port_get_buffer(pPort, nFrames);
    jack_midi_clear_buffer(pBuffer);
    for (size_t uiLength = Replies.NextLength(); uiLength > 0; uiLength = Replies.NextLength()) {
        jack_midi_data_t* pData = jack_midi_event_reserve(pBuffer, 0, uiLength);
        if (pData == nullptr) {
            return;
        }
        Replies.Pop(pData);
    }
}

// Closing the client returns once no callback runs any more, or gives the client up to JACK
// after a bounded wait when the server does not answer.
void cJackDeviceHost::CloseInput() {
    DetachRunner();
    Client.Close();
}

void cJackDeviceHost::Close() {
    CloseInput();
    InPort.store(nullptr);
    OutPort.store(nullptr);
}

std::string cJackDeviceHost::Description() const {
    const auto Name = [](jack_port_t* pPort) {
        return std::string(pPort != nullptr ? jack_port_name(pPort) : "");
    };
    return "ports \"" + Name(InPort.load()) + "\" and \"" + Name(OutPort.load()) + "\" on JACK";
}
