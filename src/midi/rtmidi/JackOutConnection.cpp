#include "midi/rtmidi/JackOutConnection.h"

#include <jack/midiport.h>

#include <cstdint>
#include <thread>

namespace {

// Each message lies in the ring as its length, then its bytes.
using tLength = uint32_t;

constexpr auto kRoomPoll = std::chrono::milliseconds(1);

}  // namespace

cJackOutConnection::cJackOutConnection(cBackendErrorTexts& Texts)
    : Texts(Texts), pRing(jack_ringbuffer_create(kRingBytes)), Client(Texts) {}

cJackOutConnection::~cJackOutConnection() {
    // The process callback reads the ring until the client is closed.
    Client.Close();
    if (pRing != nullptr) {
        jack_ringbuffer_free(pRing);
    }
}

MMRESULT cJackOutConnection::Open(const std::string& DevicePort, const std::string& OwnPort) {
    if (pRing == nullptr) {
        return MMSYSERR_NOMEM;
    }
    return Client.Open(DevicePort, OwnPort, true, &cJackOutConnection::Process, this, nullptr);
}

MMRESULT cJackOutConnection::Send(const std::vector<uint8_t>& Message) {
    if (Message.empty()) {
        return MMSYSERR_NOERROR;
    }
    const size_t uiLargest = uiLargestMessage.load();
    const size_t uiNeeded = sizeof(tLength) + Message.size();
    if ((uiLargest != 0 && Message.size() > uiLargest) || uiNeeded >= kRingBytes) {
        return Texts.Record("A message of " + std::to_string(Message.size()) +
                            " bytes is larger than JACK can carry in one cycle.");
    }
    const MMRESULT eRoom = WaitForRoom(uiNeeded);
    if (eRoom != MMSYSERR_NOERROR) {
        return eRoom;
    }
    const auto uiLength = static_cast<tLength>(Message.size());
    jack_ringbuffer_write(pRing, reinterpret_cast<const char*>(&uiLength), sizeof(uiLength));
    jack_ringbuffer_write(pRing, reinterpret_cast<const char*>(Message.data()), Message.size());
    return MMSYSERR_NOERROR;
}

MMRESULT cJackOutConnection::WaitForRoom(size_t uiBytes) const {
    const auto Deadline = std::chrono::steady_clock::now() + kRoomWait;
    for (;;) {
        const MMRESULT eLoss = Client.Loss();
        if (eLoss != MMSYSERR_NOERROR) {
            return eLoss;
        }
        if (jack_ringbuffer_write_space(pRing) >= uiBytes) {
            return MMSYSERR_NOERROR;
        }
        if (std::chrono::steady_clock::now() >= Deadline) {
            return MIDIERR_NOTREADY;
        }
        std::this_thread::sleep_for(kRoomPoll);
    }
}

void cJackOutConnection::Process(void* pPortBuffer, jack_nframes_t, void* pArg) {
    auto* pSelf = static_cast<cJackOutConnection*>(pArg);
    jack_midi_clear_buffer(pPortBuffer);
    if (pSelf->uiLargestMessage.load(std::memory_order_relaxed) == 0) {
        pSelf->uiLargestMessage.store(jack_midi_max_event_size(pPortBuffer));
    }
    pSelf->WriteQueuedMessages(pPortBuffer);
}

// Whole messages only, as many as the port's buffer takes; the rest wait for the next cycle. A
// message that not even an empty buffer takes is dropped, so it cannot stop the ones after it.
void cJackOutConnection::WriteQueuedMessages(void* pPortBuffer) {
    bool bWroteAny = false;
    tLength uiLength = 0;
    while (jack_ringbuffer_peek(pRing, reinterpret_cast<char*>(&uiLength), sizeof(uiLength)) ==
               sizeof(uiLength) &&
           jack_ringbuffer_read_space(pRing) >= sizeof(uiLength) + uiLength) {
        jack_midi_data_t* pucEvent = jack_midi_event_reserve(pPortBuffer, 0, uiLength);
        if (pucEvent == nullptr && bWroteAny) {
            return;
        }
        jack_ringbuffer_read_advance(pRing, sizeof(uiLength));
        if (pucEvent == nullptr) {
            jack_ringbuffer_read_advance(pRing, uiLength);
            continue;
        }
        jack_ringbuffer_read(pRing, reinterpret_cast<char*>(pucEvent), uiLength);
        bWroteAny = true;
    }
}
