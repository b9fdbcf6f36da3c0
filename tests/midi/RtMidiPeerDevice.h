#pragma once

#include <RtMidi.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

// The device for tests over a real MIDI system: an RtMidi client with a virtual input port that
// records what the program sends and a virtual output port that sends what the test wants as
// replies. Throws what RtMidi throws.
class cRtMidiPeerDevice {
  public:
    static constexpr const char* kInName = "TAV Test in";
    static constexpr const char* kOutName = "TAV Test out port with a long name";

    explicit cRtMidiPeerDevice(RtMidi::Api eApi) : Out(eApi, "TAV Test"), In(eApi, "TAV Test") {
        In.ignoreTypes(false, true, true);
        In.setCallback(&cRtMidiPeerDevice::OnMessage, this);
        In.openVirtualPort(kInName);
        Out.openVirtualPort(kOutName);
    }

    void Send(const std::vector<uint8_t>& Message) { Out.sendMessage(&Message); }

    std::vector<std::vector<uint8_t>> Received() {
        std::lock_guard<std::mutex> Lock(mReceived);
        return ReceivedMessages;
    }

  private:
    static void OnMessage(double, std::vector<unsigned char>* pMessage, void* pUserData) {
        auto* pPeer = static_cast<cRtMidiPeerDevice*>(pUserData);
        std::lock_guard<std::mutex> Lock(pPeer->mReceived);
        pPeer->ReceivedMessages.push_back(*pMessage);
    }

    // Made before the clients start the threads that use them.
    std::mutex mReceived;
    std::vector<std::vector<uint8_t>> ReceivedMessages;
    RtMidiOut Out;
    RtMidiIn In;
};

inline bool InCi() {
    const char* szCi = std::getenv("CI");
    return szCi != nullptr && *szCi != '\0' && std::string(szCi) != "false";
}
