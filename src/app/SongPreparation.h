#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ConvertedFiles.h"
#include "conversion/SongConversion.h"

// What became of one song on its way to the device.
enum tSongOutcome {
    SONG_CONVERTED,            // its x10 file is ready to send
    SONG_REFUSED,              // not a MIDI file, or not one the device takes (eVerdict says)
    SONG_CONTENT_FAILURE,      // malformed content; FailureText says where
    SONG_FILE_SYSTEM_FAILURE,  // the x10 file could not be written; FailureText says why
};

struct tPreparedSong {
    std::filesystem::path SongPath;
    tSongOutcome eOutcome = SONG_REFUSED;
    tSongVerdict eVerdict = SONG_NOT_MIDI_FILE;  // for SONG_REFUSED
    std::filesystem::path X10Path;               // for SONG_CONVERTED
    std::string FailureText;                     // the reason, for every other outcome
    bool bEventsRemoved = false;                 // converted, but some events left out
    bool bDebugDumpFailed = false;               // the conversion dump could not be written
};

// Vets a song again (it may have changed since it was chosen) and converts it. A song that
// does not convert leaves no x10 file behind.
tPreparedSong PrepareSong(const std::filesystem::path& SongPath, bool bDebug);

// The songs of one transfer, prepared in order. A file-system failure stops the preparation:
// the songs after it are not tried, and the x10 files made so far are deleted again (those that
// could not be deleted are listed). ShouldStop, asked before each song, stops it too (the user
// interrupted); the x10 files made so far are then left for the caller to delete.
struct tPreparedSongs {
    std::vector<tPreparedSong> Songs;
    bool bFileSystemFailure = false;
    bool bStopped = false;
    std::vector<tUndeletedFile> Undeleted;

    bool AllConverted() const;
    bool AnyConverted() const;
    std::vector<std::filesystem::path> X10Paths() const;
};

tPreparedSongs PrepareSongs(const std::vector<std::filesystem::path>& SongPaths, bool bDebug,
                            const std::function<bool()>& ShouldStop = {});
