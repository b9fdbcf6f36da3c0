#include "app/SongPreparation.h"

#include <algorithm>
#include <system_error>

#include "app/SongMessages.h"
#include "app/SongVetting.h"
#include "app/WorkFolder.h"

namespace {

// A song for the device goes into a work file of its own, removed again when the song does not
// convert.
tSongConversion ConvertIntoWorkFile(const std::filesystem::path& SongPath,
                                    const tPreparationOptions& Options) {
    tSongConversion Result;
    const std::filesystem::path WorkFile =
        CreateWorkFile(Options.WorkFolder, SongPath, Result.FailureText);
    if (WorkFile.empty()) {
        Result.bFileSystemFailure = true;
        Result.eFailure = CONV_CREATE_FAILED;
        return Result;
    }
    Result = ConvertSong(SongPath, {Options.bDebug, Options.bMergeTracks, WorkFile});
    if (!Result.bConverted) {
        std::error_code Ignored;
        std::filesystem::remove(WorkFile, Ignored);
    }
    return Result;
}

}  // namespace

tPreparedSong PrepareSong(const std::filesystem::path& SongPath,
                          const tPreparationOptions& Options) {
    tPreparedSong Song;
    Song.SongPath = SongPath;
    const tSongVetting Vetting = Options.bForDevice
                                     ? VetSongForDevice(SongPath, Options.bMergeTracks)
                                     : VetSongForConversion(SongPath, Options.bMergeTracks);
    Song.Check = Vetting.Check;
    if (!Vetting.bAccepted) {
        Song.FailureText = Vetting.Message;
        Song.szRefusalCaption = Vetting.szCaption;
        return Song;
    }
    const tSongConversion Result =
        Options.bForDevice ? ConvertIntoWorkFile(SongPath, Options)
                           : ConvertSong(SongPath, {Options.bDebug, Options.bMergeTracks, {}});
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

bool IsRefusedForItsTracks(const tPreparedSong& Song) {
    return Song.eOutcome == SONG_REFUSED && Song.Check.eKind == SONG_KIND_FORMAT_1 &&
           Song.FailureText.ends_with(SongMessages::kNotFormat0);
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
