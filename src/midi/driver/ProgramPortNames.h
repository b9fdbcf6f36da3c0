#pragma once

#include <string>

// How the program names itself to the MIDI system, and how its ports are told apart from the
// devices'. Every port the program opens is named "SongLoader <tag> in" or "... out", the tag
// being eight hexadecimal digits drawn afresh by each backend, so that the device lists can
// leave out the ports of this and of every other running instance of the program.

inline constexpr const char* kMidiClientName = "SongLoader";

// A new tag: "SongLoader" and eight hexadecimal digits.
std::string MakeOwnTag();
std::string OwnPortName(const std::string& OwnTag, bool bInput);
// Whether a port's full name, as the MIDI system lists it, is that of a port of the program.
bool IsProgramPortName(const std::string& FullName);
