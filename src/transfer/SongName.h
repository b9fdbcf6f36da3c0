#pragma once

#include <string>

// The song name that the File Dump header carries: the file name's part before its first '.',
// at most 12 characters, each outside 7-bit ASCII (the path read as UTF-8) replaced by '_'.
std::string SongNameFromPath(const std::string& Path);
