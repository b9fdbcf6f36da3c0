#pragma once

#include <string>

// The program's RtMidi client name. Its own ports are named "SongLoader <tag> in/out", the tag
// being unique to one backend, so that the device lists can leave them out.
inline constexpr const char* kRtMidiClientName = "SongLoader";

inline std::string OwnPortName(const std::string& OwnTag, bool bInput) {
    return OwnTag + (bInput ? " in" : " out");
}
