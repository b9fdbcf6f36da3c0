#pragma once

#include <string>

#include "midi/MidiPlatform.h"

// Device names travel as UTF-8 in the backends and as the platform record's UTF-16 text of at
// most 31 characters in the ports. Both conversions take any bytes: what is not valid UTF-8 or
// UTF-16 becomes U+FFFD.

// Writes Utf8Name into szPname, cut to the 31 UTF-16 units the record holds (never between the
// two halves of a surrogate pair), zero-terminated.
void CopyDeviceName(const std::string& Utf8Name, char16_t (&szPname)[MAXPNAMELEN]);

// The name of a record (szPname points at its szPname, as the device list hands it out) as
// UTF-8, read up to the terminator and never past the record's MAXPNAMELEN units.
std::string DeviceNameToUtf8(const char16_t* szPname);
