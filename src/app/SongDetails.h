#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/TransferSettings.h"

// What the song list shows of a song beside its file name. It is worked out once, when the song
// is added, by converting the song in memory (nothing is written); it changes with the merge
// option only for a multi-track song. The send time follows the transfer settings and is
// worked out from it again at no cost (SongSendMs).
struct tSongDetails {
    std::string DeviceName;  // the name the device will show
    bool Converted = false;  // false: ConversionFailure says why it cannot be sent
    std::string ConversionFailure;
    uint32_t X10Bytes = 0;
    int32_t Packets = 0;        // header, data packets and end of file
    uint32_t MergedTracks = 0;  // 0: not merged
    uint32_t InstantsWithEventsRemoved = 0;
    bool Large = false;       // the song file is larger than kLargeSongBytes
    bool MultiTrack = false;  // format 1: read again when the merge option changes
};

// The details of a song that vetting accepted, its tracks merged when bMergeTracks.
tSongDetails ReadSongDetails(const std::filesystem::path& Song, bool bMergeTracks);

// The time its send takes at these settings, as the command line estimates it (with the basis
// EstimateBasis names); 0 for a song that does not convert.
int64_t SongSendMs(const tSongDetails& Details, const tTransferSettings& Settings);

// The note column: "merged from 3 tracks", "events removed at 2 instants", "larger than 100 KB"
// and the row's DuplicateNote, joined by "; "; for a song that does not convert, why, first.
std::string SongNote(const tSongDetails& Details, const std::string& DuplicateNote);

// A size as the list shows it: "850 bytes", "2.4 KB", "61 KB" (1 KB: 1000 bytes).
std::string DescribeBytes(uint64_t Bytes);
