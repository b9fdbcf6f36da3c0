#pragma once

#include <RtMidi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "midi/MidiPlatform.h"

// One port of the device list, with its index in RtMidi's own listing.
struct tRtMidiPort {
    unsigned int uiRtMidiIndex = 0;
    std::string Name;
};

// The ports a client sees, less the program's own: RtMidi lists every port of the system, and
// the ports this program opens (their names carry OwnTag) would otherwise join the list and
// move the indices of the devices after them. Throws what RtMidi throws.
std::vector<tRtMidiPort> ListDevicePorts(RtMidi& Client, const std::string& OwnTag);

class cRtMidiErrorFlag;

// Opens the client's port for device uiDevice of that list under PortName, watching Errors
// (which the client must already report to). MMSYSERR_BADDEVICEID for an index past the list,
// MMSYSERR_ERROR when RtMidi reports or throws anything. Never throws.
MMRESULT OpenDevicePort(RtMidi& Client, cRtMidiErrorFlag& Errors, uint32_t uiDevice,
                        const std::string& OwnTag, const std::string& PortName);
