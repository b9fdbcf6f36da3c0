#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

// Writes the File Dump messages of one song file (header, data packets, end-of-file message) as
// a blind send puts them on the wire, each as soon as it is built: only the song and one message
// are held at a time. The header carries the device's name for the song at SongPath. False
// when a write fails.
bool WriteFileDumpStream(std::vector<uint8_t> SongFile, const std::filesystem::path& SongPath,
                         std::FILE* pFile);
