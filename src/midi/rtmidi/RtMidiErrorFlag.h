#pragma once

#include <RtMidi.h>

#include <atomic>
#include <mutex>
#include <string>

// Catches what an RtMidi client reports, so that it neither throws nor only prints: once this
// flag is a client's error callback, every error and warning of the client raises it and keeps
// RtMidi's words, and the call that caused it reports a failure. Debug warnings are ignored.
class cRtMidiErrorFlag {
  public:
    void Watch(RtMidi& Client) { Client.setErrorCallback(&cRtMidiErrorFlag::Record, this); }
    void Clear() { Raised.store(false); }
    bool IsRaised() const { return Raised.load(); }
    // RtMidi's words for the latest error.
    std::string Text() const {
        std::lock_guard<std::mutex> Lock(TextMutex);
        return LastText;
    }

  private:
    static void Record(RtMidiError::Type eType, const std::string& ErrorText, void* pUserData) {
        if (eType == RtMidiError::DEBUG_WARNING) {
            return;
        }
        auto* pFlag = static_cast<cRtMidiErrorFlag*>(pUserData);
        {
            std::lock_guard<std::mutex> Lock(pFlag->TextMutex);
            pFlag->LastText = ErrorText;
        }
        pFlag->Raised.store(true);
    }

    std::atomic<bool> Raised{false};
    mutable std::mutex TextMutex;
    std::string LastText;
};
