#pragma once

#include <string>
#include <vector>

#include "app/SongDetails.h"
#include "app/TransferSettings.h"

// One row of the song list as the status bar counts it.
struct tListedSong {
    const tSongDetails* Details = nullptr;
    bool Ticked = false;
};

// The status bar under the song list, for its rows in the order shown: "4 of 5 songs ticked,
// 61 KB, about 47 s": the ticked songs' x10 bytes, and the time their send takes at these
// settings (the estimate of the whole ticked batch, the pauses between songs included; "at MIDI
// cable speed" after it when paced on acknowledgement). With nothing ticked, the count alone;
// for an empty list, "No songs".
std::string SongListStatus(const std::vector<tListedSong>& Rows, const tTransferSettings& Settings);
