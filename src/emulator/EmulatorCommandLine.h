#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "emulator/MidiWire.h"
#include "emulator/TavDeviceOptions.h"

inline constexpr const char* kEmulatorName = "tav-emulator";

// The command line of tav-emulator, read into the device's options and the wire's.
struct tEmulatorCommandLine {
    tTavDeviceOptions Options;
    tWireOptions Wire;
    bool Help = false;
    bool Version = false;
    std::string Error;  // set when the arguments are not usable
};

// Options take their value as the next argument or after '='; numbers are decimal or 0x hex.
tEmulatorCommandLine ParseEmulatorCommandLine(const std::vector<std::string>& Args);

void PrintEmulatorHelp(std::ostream& Out);
