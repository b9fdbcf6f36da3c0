#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "conversion/ConversionFailure.h"
#include "conversion/MidiHeader.h"

// A chunk starts with 4 bytes of kind and 4 of length; a header chunk holds at least 6 bytes.
inline constexpr uint32_t kChunkHeaderBytes = 8;
inline constexpr uint32_t kStandardHeaderLength = 6;

// The header chunk of a song held in memory, or why the song cannot be read as a MIDI file.
struct tSongHeader {
    tMidiHeader Header;
    tConversionFailure Failure = CONV_NONE;
    std::string FailureText;
};

// Takes the 14 header bytes of a song of at most kMaxSongBytes that starts with "MThd".
tSongHeader ReadSongHeader(std::span<const uint8_t> Song);

// Where a track chunk lies in a song's bytes.
struct tTrackChunk {
    uint32_t ChunkStart = 0;  // its 8-byte chunk header
    uint32_t DataLength = 0;  // the track data follows the chunk header
};

// The track chunks of a song, or the fault that stopped the search.
struct tTrackChunks {
    tConversionFailure eFailure = CONV_NONE;
    std::string FailureText;
    std::vector<tTrackChunk> Tracks;
};

// Finds the first dwWanted "MTrk" chunks after the header chunk, reading past a header longer
// than 6 bytes and past chunks of other kinds. Fewer tracks than wanted is no fault here; a
// header that is cut off or too short, or a track chunk longer than the file, is.
tTrackChunks FindTrackChunks(std::span<const uint8_t> Song, uint32_t dwWanted);
