#pragma once

#include <string>
#include <vector>

// The MIDI devices of the installed backend, by name (UTF-8, at most 31 characters, as the
// platform's records hold them), in index order: the position of a name is the device index
// that the ports open. Output and input devices are numbered separately. Listing opens no
// device and builds no port, so it never touches the transfer's ports or the input ring. A
// device whose name cannot be had (gone since counting) is listed with an empty name.
std::vector<std::string> MidiOutDeviceNames();
std::vector<std::string> MidiInDeviceNames();
