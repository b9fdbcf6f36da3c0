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

cJackDeviceHost::cJackDeviceHost(std::string ClientName) : ClientName(std::move(ClientName)) {}

std::string cJackDeviceHost::Open() {
    jack_status_t eStatus{};
    Client = jack_client_open(ClientName.c_str(), JackNoStartServer, &eStatus);
    if (Client == nullptr) {
        return Fail("no JACK server answers");
    }
    Replies = jack_ringbuffer_create(kReplyRingBytes);
    if (Replies == nullptr || jack_set_process_callback(Client, &OnProcess, this) != 0) {
        return Fail("the client cannot be set up");
    }
    jack_on_shutdown(Client, &OnShutdown, this);
    if (jack_activate(Client) != 0) {
        return Fail("the client cannot be activated");
    }
    Active = true;
    if (!WaitForCycles(1)) {
        return Fail("the server does not run the client");
    }
    OutPort.store(jack_port_register(Client, (ClientName + " out").c_str(), JACK_DEFAULT_MIDI_TYPE,
                                     JackPortIsOutput, 0));
    InPort.store(jack_port_register(Client, (ClientName + " in").c_str(), JACK_DEFAULT_MIDI_TYPE,
                                    JackPortIsInput, 0));
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
    const auto uiLength = static_cast<uint32_t>(aucMessage.size());
    if (Replies == nullptr ||
        jack_ringbuffer_write_space(Replies) < sizeof uiLength + aucMessage.size()) {
        std::cerr << "tav-emulator: cannot send a reply: the queue to JACK is full" << std::endl;
        return;
    }
    jack_ringbuffer_write(Replies, reinterpret_cast<const char*>(&uiLength), sizeof uiLength);
    jack_ringbuffer_write(Replies, reinterpret_cast<const char*>(aucMessage.data()), uiLength);
}

// Runs on JACK's process thread, once per cycle.
int cJackDeviceHost::OnProcess(jack_nframes_t nFrames, void* pArg) {
    auto* pHost = static_cast<cJackDeviceHost*>(pArg);
    if (jack_port_t* pPort = pHost->InPort.load()) {
        pHost->PassOnInput(pPort, nFrames);
    }
    if (jack_port_t* pPort = pHost->OutPort.load()) {
        pHost->SendQueuedReplies(pPort, nFrames);
    }
    pHost->CyclesRun.fetch_add(1);
    return 0;
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
    uint32_t uiLength = 0;
    while (jack_ringbuffer_peek(Replies, reinterpret_cast<char*>(&uiLength), sizeof uiLength) ==
               sizeof uiLength &&
           jack_ringbuffer_read_space(Replies) >= sizeof uiLength + uiLength) {
        jack_midi_data_t* pData = jack_midi_event_reserve(pBuffer, 0, uiLength);
        if (pData == nullptr) {
            return;
        }
        jack_ringbuffer_read_advance(Replies, sizeof uiLength);
        jack_ringbuffer_read(Replies, reinterpret_cast<char*>(pData), uiLength);
    }
}

void cJackDeviceHost::OnShutdown(void* pArg) {
    static_cast<cJackDeviceHost*>(pArg)->SetLost();
}

// Deactivating returns once no process callback runs any more.
void cJackDeviceHost::CloseInput() {
    DetachRunner();
    if (Active) {
        jack_deactivate(Client);
        Active = false;
    }
}

void cJackDeviceHost::Close() {
    CloseInput();
    if (Client != nullptr) {
        jack_client_close(Client);
        Client = nullptr;
    }
    InPort.store(nullptr);
    OutPort.store(nullptr);
    if (Replies != nullptr) {
        jack_ringbuffer_free(Replies);
        Replies = nullptr;
    }
}

std::string cJackDeviceHost::Description() const {
    const auto Name = [](jack_port_t* pPort) {
        return std::string(pPort != nullptr ? jack_port_name(pPort) : "");
    };
    return "ports \"" + Name(InPort.load()) + "\" and \"" + Name(OutPort.load()) + "\" on JACK";
}
