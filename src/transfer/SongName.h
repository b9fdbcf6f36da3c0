#pragma once

#include <string>

// The song name that the File Dump header carries: the file name, its leading dots skipped, up to
// its next '.', at most 12 characters. Each character outside printable 7-bit ASCII (the path
// read as UTF-8; control characters too) is replaced by '_'.
std::string SongNameFromPath(const std::string& Path);
