#include "midi/jack/JackInConnection.h"

#include <jack/midiport.h>

#include <utility>

cJackInConnection::cJackInConnection(cBackendErrorTexts& Texts, tMessageSink OnMessage)
    : OnMessage(std::move(OnMessage)), Client(Texts) {}

MMRESULT cJackInConnection::Open(const std::string& DevicePort, const std::string& OwnPort,
                                 tLossSink OnLoss) {
    return Client.Open(DevicePort, OwnPort, false, &cJackInConnection::Process, this,
                       std::move(OnLoss));
}

void cJackInConnection::Process(void* pPortBuffer, jack_nframes_t, void* pArg) {
    auto* pSelf = static_cast<cJackInConnection*>(pArg);
    const uint32_t uiEvents = jack_midi_get_event_count(pPortBuffer);
    for (uint32_t i = 0; i < uiEvents; ++i) {
        jack_midi_event_t Event{};
        if (jack_midi_event_get(&Event, pPortBuffer, i) == 0 && Event.size > 0) {
            pSelf->OnMessage(Event.buffer, Event.size);
        }
    }
}
