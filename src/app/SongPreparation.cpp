#include "app/SongPreparation.h"

#include <algorithm>
#include <system_error>

#include "app/Utf8Path.h"
#include "app/WorkFolder.h"

namespace {

tSongConversion Convert(const std::filesystem::path& SongPath, const tPreparationOptions& Options,
                        const std::filesystem::path& X10Path) {
    return ConvertSong(SongPath, {Options.bDebug, Options.bMergeTracks, X10Path});
}

// A song whose own folder cannot take its x10 file is converted again into the work folder.
tSongConversion ConvertSomewhere(const std::filesystem::path& SongPath,
                                 const tPreparationOptions& Options) {
    tSongConversion Result = Convert(SongPath, Options, {});
    if (Result.eFailure != CONV_CREATE_FAILED || Options.WorkFolder.empty()) {
        return Result;
    }
    std::error_code Error;
    std::filesystem::create_directories(Options.WorkFolder, Error);
    tSongConversion InWorkFolder =
        Convert(SongPath, Options, WorkFileFor(Options.WorkFolder, SongPath));
    if (InWorkFolder.bConverted || InWorkFolder.eFailure != CONV_CREATE_FAILED) {
        return InWorkFolder;
    }
    Result.FailureText +=
        " (nor in " + PathToUtf8(Options.WorkFolder) + ": " + InWorkFolder.SystemReason + ")";
    return Result;
}

}  // namespace

tPreparedSong PrepareSong(const std::filesystem::path& SongPath,
                          const tPreparationOptions& Options) {
    tPreparedSong Song;
    Song.SongPath = SongPath;
    Song.Check = CheckSong(SongPath);
    if (!IsSongAccepted(Song.Check, Options.bMergeTracks)) {
        Song.FailureText = SongCheckMessage(SongPath, Song.Check, Options.bMergeTracks);
        return Song;
    }
    const tSongConversion Result = ConvertSomewhere(SongPath, Options);
    Song.bDebugDumpFailed = Result.bDebugDumpFailed;
    Song.DebugDumpFailureText = Result.DebugDumpFailureText;
    if (!Result.bConverted) {
        Song.eOutcome = Result.bFileSystemFailure ? SONG_FILE_SYSTEM_FAILURE : SONG_CONTENT_FAILURE;
        Song.FailureText = Result.FailureText;
        return Song;
    }
    Song.eOutcome = SONG_CONVERTED;
    Song.X10Path = Result.X10FilePath;
    Song.bEventsRemoved = Result.bEventsRemoved;
    Song.dwMergedTracks = Result.dwMergedTracks;
    return Song;
}

tPreparedSongs PrepareSongs(const std::vector<std::filesystem::path>& SongPaths,
                            const tPreparationOptions& Options,
                            const std::function<bool()>& ShouldStop) {
    tPreparedSongs Prepared;
    for (const std::filesystem::path& SongPath : SongPaths) {
        if (ShouldStop && ShouldStop()) {
            Prepared.bStopped = true;
            break;
        }
        Prepared.Songs.push_back(PrepareSong(SongPath, Options));
    }
    return Prepared;
}

bool tPreparedSongs::AllConverted() const {
    return !bStopped && std::all_of(Songs.begin(), Songs.end(), [](const tPreparedSong& Song) {
        return Song.eOutcome == SONG_CONVERTED;
    });
}

bool tPreparedSongs::AnyConverted() const {
    return !X10Paths().empty();
}

std::vector<std::filesystem::path> tPreparedSongs::X10Paths() const {
    std::vector<std::filesystem::path> Paths;
    for (const tPreparedSong& Song : Songs) {
        if (!Song.X10Path.empty()) {
            Paths.push_back(Song.X10Path);
        }
    }
    return Paths;
}
