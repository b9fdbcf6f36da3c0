#pragma once

#include <string>
#include <vector>

// The names of the MIDI devices present now, by device index, as UTF-8, straight from the
// installed backend. Listing opens no port, so it never disturbs a transfer's ports.
std::vector<std::string> MidiOutDeviceNames();
std::vector<std::string> MidiInDeviceNames();
