#pragma once

#include <jack/jack.h>

#include <string>

#include "midi/jack/JackClient.h"

// The device for tests and benchmarks that take the JACK server away: a JACK client with an
// input and an output MIDI port, which the program's ports connect to. It is a cJackClient, so it
// never touches JACK again once the server has gone (an RtMidi client would, when it is destroyed,
// and JACK may then wait for ever).
class cJackPeerDevice {
  public:
    static constexpr const char* kInName = "TAV Test in";
    static constexpr const char* kOutName = "TAV Test out";

    // Empty on success, else why the device could not be made.
    std::string Open() {
        jack_status_t eStatus{};
        if (!Client.Open("TAV Test", {}, eStatus)) {
            return "no JACK client opens";
        }
        const bool bPorts = jack_port_register(Client.Get(), kInName, JACK_DEFAULT_MIDI_TYPE,
                                               JackPortIsInput, 0) != nullptr &&
                            jack_port_register(Client.Get(), kOutName, JACK_DEFAULT_MIDI_TYPE,
                                               JackPortIsOutput, 0) != nullptr;
        if (!bPorts || jack_activate(Client.Get()) != 0) {
            return "the device's ports could not be made";
        }
        return {};
    }

    void Close() { Client.Close(); }

  private:
    cJackClient Client;
};
