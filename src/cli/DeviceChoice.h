#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A device named on the command line: its index in the device list, or a part of its name that
// no other device of the list has (case does not matter).
struct tDeviceChoice {
    int32_t iIndex = -1;
    std::string Error;  // why no device was chosen
};

// szKind names the direction in the messages ("output", "input"); Names are the devices of
// that direction by index.
tDeviceChoice ChooseDevice(const char* szKind, const std::vector<std::string>& Names,
                           const std::string& Wanted);
