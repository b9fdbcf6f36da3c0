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

    RtMidiOut Out;
    RtMidiIn In;
    std::mutex mReceived;
    std::vector<std::vector<uint8_t>> ReceivedMessages;
};

// Where the device's ports are in the device lists: the index of the first name that contains
// Fragment, or -1.
inline int IndexOf(const std::vector<std::string>& Names, const std::string& Fragment) {
    for (size_t i = 0; i < Names.size(); ++i) {
        if (Names[i].find(Fragment) != std::string::npos) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

inline bool InCi() {
    const char* szCi = std::getenv("CI");
    return szCi != nullptr && *szCi != '\0' && std::string(szCi) != "false";
}
