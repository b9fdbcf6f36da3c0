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

// The message for a refused song, its path first; empty for an accepted one. With merging off
// every MIDI file but format 0 gets the system's " Is Not A Midi Type 0 File..." text; a file
// that could not be read has the reason after the text, in brackets.
std::string SongCheckMessage(const std::filesystem::path& SongPath, const tSongCheck& Check,
                             bool bMergeTracks);
// The caption that goes with the message.
const char* SongCheckCaption(const tSongCheck& Check);

// The refusal as the window words it: a format-1 song refused because merging is off gets
// SongMessages::kMergeOptionHint after its message; any other refusal is as vetting gave it.
std::string RefusalWithMergeHint(const tSongVetting& Vetting, bool bMergeTracks);

// Vets a song to be converted: a format-0 MIDI file, or format 1 while merging is on.
tSongVetting VetSongForConversion(const std::filesystem::path& SongPath, bool bMergeTracks);

// Vets a song that goes to the device, as both front ends do before anything is sent: the
// conversion's vetting, and then its name on the device, which comes from its file name (up to
// the first '.' after any leading dots): a file name of dots alone gives none, and the device
// would refuse the song.
tSongVetting VetSongForDevice(const std::filesystem::path& SongPath, bool bMergeTracks);
