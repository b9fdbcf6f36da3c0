#include "midi/jack/JackOutConnection.h"

#include <jack/midiport.h>

#include <thread>

namespace {

constexpr auto kRoomPoll = std::chrono::milliseconds(1);

}  // namespace

cJackOutConnection::cJackOutConnection(cBackendErrorTexts& Texts)
    : Texts(Texts), Ring(kRingBytes), Client(Texts) {}

cJackOutConnection::~cJackOutConnection() {
    if (WaitUntilAllTaken() == MMSYSERR_NOERROR) {
        WaitUntilDelivered();
    }
    Client.Close();
}

MMRESULT cJackOutConnection::Open(const std::string& DevicePort, const std::string& OwnPort) {
    return Client.Open(DevicePort, OwnPort, true, &cJackOutConnection::Process, this, nullptr);
}

MMRESULT cJackOutConnection::Send(const std::vector<uint8_t>& Message) {
    if (Message.empty()) {
        return MMSYSERR_NOERROR;
    }
    const size_t uiLargest = LargestMessage.load();
    if ((uiLargest != 0 && Message.size() > uiLargest) || Message.size() >= kRingBytes / 2) {
        return Texts.Record("A message of " + std::to_string(Message.size()) +
                            " bytes is larger than JACK can carry in one cycle.");
    }
    const MMRESULT eTaken = WaitUntilAllTaken();
    if (eTaken != MMSYSERR_NOERROR) {
        return eTaken;
    }
    const MMRESULT eRoom = WaitForRoom(Message.size());
    if (eRoom != MMSYSERR_NOERROR) {
        return eRoom;
    }
    Ring.Push(Message.data(), Message.size());
    ++Queued;
    return MMSYSERR_NOERROR;
}

MMRESULT cJackOutConnection::WaitForRoom(size_t uiBytes) const {
    return WaitFor([&] { return Ring.HasRoomFor(uiBytes); }, kRoomWait);
}

MMRESULT cJackOutConnection::WaitUntilAllTaken() const {
    return WaitFor([&] { return Taken.load(std::memory_order_acquire) >= Queued; }, kTakeWait);
}

void cJackOutConnection::WaitUntilDelivered() const {
    const uint64_t Now = Cycles.load(std::memory_order_acquire);
    static_cast<void>(
        WaitFor([&] { return Cycles.load(std::memory_order_acquire) >= Now + kCyclesToDeliver; },
                kTakeWait));
}

template <typename tDone>
MMRESULT cJackOutConnection::WaitFor(tDone Done, std::chrono::milliseconds Wait) const {
    const auto Deadline = std::chrono::steady_clock::now() + Wait;
    for (;;) {
        const MMRESULT eLoss = Client.Loss();
        if (eLoss != MMSYSERR_NOERROR) {
            return eLoss;
        }
        if (Done()) {
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
    if (pSelf->LargestMessage.load(std::memory_order_relaxed) == 0) {
        pSelf->LargestMessage.store(jack_midi_max_event_size(pPortBuffer));
    }
    pSelf->WriteQueuedMessages(pPortBuffer);
    pSelf->Cycles.fetch_add(1, std::memory_order_release);
}

// Whole messages only, as many as the port's buffer takes; the rest wait for the next cycle. A
// message that not even an empty buffer takes is dropped, so it cannot stop the ones after it.
void cJackOutConnection::WriteQueuedMessages(void* pPortBuffer) {
    bool bWroteAny = false;
    for (size_t uiLength = Ring.NextLength(); uiLength > 0; uiLength = Ring.NextLength()) {
        jack_midi_data_t* pucEvent = jack_midi_event_reserve(pPortBuffer, 0, uiLength);
        if (pucEvent == nullptr && bWroteAny) {
            return;
        }
        Ring.Pop(pucEvent);
        Taken.fetch_add(1, std::memory_order_release);
        bWroteAny = bWroteAny || pucEvent != nullptr;
    }
}
