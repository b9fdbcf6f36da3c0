#pragma once

#include <string>

// The backend of this computer's MIDI devices, the one the programs install: the Windows
// multimedia services on Windows, RtMidi (ALSA, JACK, CoreMIDI) elsewhere. Each has
// IsSystemReachable(), whether the MIDI system answers at all; SystemMidiName names that system
// in messages. Link songloader_midi_system.
#ifdef _WIN32
#include "midi/winmm/WinmmBackend.h"
using cSystemMidiBackend = cWinmmBackend;

inline std::string SystemMidiName(const cWinmmBackend&) {
    return "Windows multimedia";
}
#else
#include "midi/rtmidi/RtMidiBackend.h"
using cSystemMidiBackend = cRtMidiBackend;

inline std::string SystemMidiName(const cRtMidiBackend& Backend) {
    return RtMidi::getApiDisplayName(Backend.GetApi());
}
#endif
