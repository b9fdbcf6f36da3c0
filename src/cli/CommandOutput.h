#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/OutputFile.h"
#include "cli/CliContext.h"

// The end of a command that writes one output file (export, merge) made from the song Song:
// unless an interrupt came first, Bytes are written to Output (UTF-8) beside it and renamed into
// place, and Output is printed on stdout. An output that is the song itself is refused. Returns
// the command's status; every failure is said on stderr.
int WriteCommandOutput(const char* szCommand, const std::string& Song, const std::string& Output,
                       const std::vector<uint8_t>& Bytes, tCliContext& Context);
// The same, with the bytes written as they are made (see OutputFile.h).
int WriteCommandOutput(const char* szCommand, const std::string& Song, const std::string& Output,
                       const tOutputWriter& Write, tCliContext& Context);
