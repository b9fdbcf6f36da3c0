#include "app/SongPreparation.h"

#include <algorithm>

tPreparedSong PrepareSong(const std::filesystem::path& SongPath, bool bDebug) {
    tPreparedSong Song;
    Song.SongPath = SongPath;
    Song.eVerdict = VetSong(SongPath);
    if (Song.eVerdict != SONG_FORMAT_0) {
        Song.FailureText = VerdictMessage(SongPath, Song.eVerdict);
        return Song;
    }
    const tSongConversion Result = ConvertSong(SongPath, bDebug);
    Song.bDebugDumpFailed = Result.bDebugDumpFailed;
    if (!Result.bConverted) {
        Song.eOutcome = Result.bFileSystemFailure ? SONG_FILE_SYSTEM_FAILURE : SONG_CONTENT_FAILURE;
        Song.FailureText = Result.FailureText;
        return Song;
    }
    Song.eOutcome = SONG_CONVERTED;
    Song.X10Path = Result.X10FilePath;
    Song.bEventsRemoved = Result.bEventsRemoved;
    return Song;
}

tPreparedSongs PrepareSongs(const std::vector<std::filesystem::path>& SongPaths, bool bDebug,
                            const std::function<bool()>& ShouldStop) {
    tPreparedSongs Prepared;
    for (const std::filesystem::path& SongPath : SongPaths) {
        if (ShouldStop && ShouldStop()) {
            Prepared.bStopped = true;
            break;
        }
        Prepared.Songs.push_back(PrepareSong(SongPath, bDebug));
        if (Prepared.Songs.back().eOutcome == SONG_FILE_SYSTEM_FAILURE) {
            Prepared.bFileSystemFailure = true;
            Prepared.Undeleted = DeleteConvertedFiles(Prepared.X10Paths());
            for (tPreparedSong& Song : Prepared.Songs) {
                Song.X10Path.clear();
            }
            break;
        }
    }
    return Prepared;
}

bool tPreparedSongs::AllConverted() const {
    return !bFileSystemFailure && !bStopped &&
           std::all_of(Songs.begin(), Songs.end(),
                       [](const tPreparedSong& Song) { return Song.eOutcome == SONG_CONVERTED; });
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
