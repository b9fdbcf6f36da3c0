#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ConvertedFiles.h"
#include "conversion/SongConversion.h"

// What became of one song on its way to the device.
enum tSongOutcome {
    SONG_CONVERTED,            // its x10 file is ready to send
    SONG_REFUSED,              // not a song the device takes (Check says what it is)
    SONG_CONTENT_FAILURE,      // malformed content; FailureText says where
    SONG_FILE_SYSTEM_FAILURE,  // it cannot be read, or its x10 file can be made nowhere
};

// How songs are prepared: the conversion dump, merging multi-track songs, and where the x10
// files go. A song for the device (a send, an export) must give the device a name, and is
// converted into a work file of this preparation's own (CreateWorkFile: in WorkFolder, or
// hidden beside the song when that cannot be used), so that no x10 file that was there before
// is written over or deleted. Otherwise (convert) the x10 file is the song's path with "x10"
// appended, which is what the user asked for.
struct tPreparationOptions {
    bool bDebug = false;
    bool bMergeTracks = false;
    std::filesystem::path WorkFolder;
    bool bForDevice = true;
};

struct tPreparedSong {
    std::filesystem::path SongPath;
    tSongOutcome eOutcome = SONG_REFUSED;
    tSongCheck Check;                   // what the song is, as vetting found it
    std::filesystem::path X10Path;      // for SONG_CONVERTED: this preparation's own file
    const char* szRefusalCaption = "";  // for SONG_REFUSED: the caption of its message
    // Why it is not sent: for SONG_REFUSED the message naming the song; for a failure the
    // converter's reason (with the system's own text for a file-system failure).
    std::string FailureText;
    bool bEventsRemoved = false;    // converted, but some events left out
    uint32_t dwMergedTracks = 0;    // converted from this many tracks merged; 0: not merged
    bool bDebugDumpFailed = false;  // the conversion dump could not be written
    std::string DebugDumpFailureText;
};

// Whether the song was refused only for having several tracks while merging was off: merging
// would take it, which the front ends say after the refusal.
bool IsRefusedForItsTracks(const tPreparedSong& Song);

// Vets a song again (it may have changed since it was chosen) and converts it where Options
// say. A song that does not convert leaves no x10 file behind.
tPreparedSong PrepareSong(const std::filesystem::path& SongPath,
                          const tPreparationOptions& Options);

// The songs of one transfer, prepared in order. A song that fails is left out and the others
// go on. ShouldStop, asked before each song, ends the preparation (the user interrupted); the
// x10 files made so far are then the caller's to delete (X10Paths: only this preparation's).
struct tPreparedSongs {
    std::vector<tPreparedSong> Songs;
    bool bStopped = false;

    bool AllConverted() const;
    bool AnyConverted() const;
    std::vector<std::filesystem::path> X10Paths() const;
};

tPreparedSongs PrepareSongs(const std::vector<std::filesystem::path>& SongPaths,
                            const tPreparationOptions& Options,
                            const std::function<bool()>& ShouldStop = {});
