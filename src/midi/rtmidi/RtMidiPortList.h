#pragma once

#include <RtMidi.h>

#include <string>
#include <vector>

// One port of the device list, with its index in RtMidi's own listing.
struct tRtMidiPort {
    unsigned int uiRtMidiIndex = 0;
    std::string Name;
};

// The ports a client sees, less the program's own: RtMidi lists every port of the system, and
// the ports this program opens (their names carry OwnTag) would otherwise join the list and
// move the indices of the devices after them. Throws what RtMidi throws.
std::vector<tRtMidiPort> ListDevicePorts(RtMidi& Client, const std::string& OwnTag);
