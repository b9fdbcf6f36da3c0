#pragma once

#include <cstdint>
#include <string>

class cMIDIPort;

// A device named on the command line: its index in the device list, or a part of its name that
// no other device of the list has (case does not matter).
struct tDeviceChoice {
    int32_t iIndex = -1;
    std::string Error;  // why no device was chosen
};

tDeviceChoice ChooseOutDevice(cMIDIPort& Ports, const std::string& Wanted);
tDeviceChoice ChooseInDevice(cMIDIPort& Ports, const std::string& Wanted);
