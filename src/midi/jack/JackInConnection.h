#pragma once

#include <jack/jack.h>

#include <string>

#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/MidiConnector.h"
#include "midi/jack/JackPortClient.h"

// Input from one device on JACK's own API: every MIDI event that reaches the port in a cycle
// goes to the message sink from the client's process callback, as one whole message.
class cJackInConnection final : public iInConnection {
  public:
    cJackInConnection(cBackendErrorTexts& Texts, tMessageSink OnMessage);

    MMRESULT Open(const std::string& DevicePort, const std::string& OwnPort, tLossSink OnLoss);

  private:
    static void Process(void* pPortBuffer, jack_nframes_t uiFrames, void* pArg);

    tMessageSink OnMessage;
    // Last, so that it goes first: its process callback calls the sink until it is closed.
    cJackPortClient Client;
};
