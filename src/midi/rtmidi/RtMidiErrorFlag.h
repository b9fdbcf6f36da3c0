#pragma once

#include <RtMidi.h>

#include <atomic>
#include <string>

// Catches what an RtMidi client reports, so that it neither throws nor only prints: once this
// flag is a client's error callback, every error and warning of the client raises it, and the
// call that caused it reports a failure. Debug warnings are ignored.
class cRtMidiErrorFlag {
  public:
    void Watch(RtMidi& Client) { Client.setErrorCallback(&cRtMidiErrorFlag::Record, this); }
    void Clear() { bRaised.store(false); }
    bool IsRaised() const { return bRaised.load(); }

  private:
    static void Record(RtMidiError::Type eType, const std::string&, void* pUserData) {
        if (eType != RtMidiError::DEBUG_WARNING) {
            static_cast<cRtMidiErrorFlag*>(pUserData)->bRaised.store(true);
        }
    }

    std::atomic<bool> bRaised{false};
};
