#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/ConversionFailure.h"

// Larger than any real song, and small enough that a merged track (at most three times its
// song) keeps a 32-bit chunk length.
inline constexpr uint64_t kMaxSongBytes = 268435455;

// The bytes of a file given as a song, or why they could not be had.
struct tSongFileRead {
    std::vector<uint8_t> Bytes;
    tConversionFailure eFailure = CONV_NONE;
    // The system's reason for a failure to open or read, or what the file is instead of a
    // regular file ("a FIFO").
    std::string Reason;
    uint64_t FileBytes = 0;  // the size of a file refused as too large; 0 when not known
};

// Reads a whole song; of a RIFF MIDI file (.rmi), the song it wraps. A FIFO, device or socket is
// refused unread, and nothing blocks on it (see OpenRegularFile); a file of more than
// kMaxSongBytes is refused, and so is a damaged RIFF wrapper.
tSongFileRead ReadSongFile(const std::filesystem::path& SongPath);
// Reads at most the first uiCount bytes of a song, with the same refusals but no size limit.
tSongFileRead ReadSongStart(const std::filesystem::path& SongPath, size_t uiCount);

// Why a song of this many bytes (0: of a size not known) is refused, naming the limit.
std::string SongTooLargeText(uint64_t qwSongBytes);

// Why a song could not be read, with the system's reason at the end where there is one.
std::string ReadFailureText(const tSongFileRead& Read);
