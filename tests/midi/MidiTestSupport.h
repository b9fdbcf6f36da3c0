#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"

// A SysEx message of Count bytes in all: 0xF0, data bytes counting up from First (7 bits), 0xF7.
inline std::vector<uint8_t> MakeSysex(size_t uiCount, uint8_t ucFirst = 0) {
    std::vector<uint8_t> Message(uiCount);
    for (size_t i = 0; i < uiCount; ++i) {
        Message[i] = static_cast<uint8_t>((ucFirst + i) & 0x7F);
    }
    Message.front() = 0xF0;
    Message.back() = 0xF7;
    return Message;
}

inline std::vector<uint8_t> Concat(std::vector<uint8_t> First, const std::vector<uint8_t>& Second) {
    First.insert(First.end(), Second.begin(), Second.end());
    return First;
}

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

// Polls Condition until it holds or Limit has passed; whether it held.
inline bool WaitUntil(const std::function<bool()>& Condition,
                      std::chrono::milliseconds Limit = std::chrono::milliseconds(5000)) {
    const auto Deadline = std::chrono::steady_clock::now() + Limit;
    while (!Condition()) {
        if (std::chrono::steady_clock::now() > Deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A virtual backend with one output and one input device, installed while it lives.
struct tInstalledVirtualBackend {
    cVirtualMidiBackend Backend;
    const uint32_t uiOut = Backend.AddOutDevice("TAV Orvik out");
    const uint32_t uiIn = Backend.AddInDevice("TAV Orvik in");
    cScopedMidiBackend Installed{Backend};

    // Takes the devices away as eLoss says: MIDIERR_NODEVICE unplugs both, MMSYSERR_NODRIVER
    // shuts the whole MIDI system down.
    void TakeAway(MMRESULT eLoss) {
        if (eLoss == MIDIERR_NODEVICE) {
            Backend.UnplugOutDevice(uiOut);
            Backend.UnplugInDevice(uiIn);
        } else {
            Backend.ShutDownSystem();
        }
    }
};

// The ways the devices can go away, and the result each gives.
inline constexpr MMRESULT kLosses[] = {MIDIERR_NODEVICE, MMSYSERR_NODRIVER};

// The same, installed for one test.
class VirtualMidiTest : public ::testing::Test {
  protected:
    tInstalledVirtualBackend Virtual;
    cVirtualMidiBackend& Backend = Virtual.Backend;
    const uint32_t uiOut = Virtual.uiOut;
    const uint32_t uiIn = Virtual.uiIn;
};
