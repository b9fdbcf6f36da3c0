#pragma once

#include <cstdint>
#include <map>
#include <string>

// The values that <mmsystem.h> gives the names that the platform interface shares with it, by
// name. They are read in a file of their own: the two headers define the same names.
std::map<std::string, uint64_t> WinmmNativeConstants();
