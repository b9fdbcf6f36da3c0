#pragma once

#include <cstdint>
#include <string>

// The File Dump header gives a file's length in four 7-bit bytes, so the device takes x10 files
// of at most 2^28 - 1 bytes.
inline constexpr uint64_t kMaxX10Bytes = 268435455;

// Whether an x10 file of this many bytes can be sent.
bool IsX10SizeAllowed(uint64_t qwX10Bytes);
// Why an x10 file of this size is refused, naming its size and the limit.
std::string X10SizeFailureText(uint64_t qwX10Bytes);
