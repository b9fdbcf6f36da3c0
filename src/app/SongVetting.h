#pragma once

#include <filesystem>
#include <string>

#include "conversion/SongConversion.h"

// What vetting found of one song, and for a refused one the message to show, its path first,
// with the caption of its box.
struct tSongVetting {
    tSongCheck Check;
    bool bAccepted = false;
    std::string Message;
    const char* szCaption = "";
};

// Vets a song to be converted: a format-0 MIDI file, or format 1 while merging is on.
tSongVetting VetSongForConversion(const std::filesystem::path& SongPath, bool bMergeTracks);

// Vets a song that goes to the device, as both front ends do before anything is sent: the
// conversion's vetting, and then its name on the device, which comes from its file name (up to
// the first '.' after any leading dots): a file name of dots alone gives none, and the device
// would refuse the song.
tSongVetting VetSongForDevice(const std::filesystem::path& SongPath, bool bMergeTracks);
