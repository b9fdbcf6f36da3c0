#include "cli/SongReport.h"

#include "app/SongMessages.h"
#include "app/Utf8Path.h"
#include "cli/CliContext.h"
#include "conversion/DebugDump.h"

namespace {

// A multi-track song refused because merging was not asked for: the message says how to ask.
constexpr const char* kMergeHint = " (give '--merge-tracks' to merge its tracks into one)";

}  // namespace

std::string MergedTracksText(uint32_t dwTracks) {
    return "merged from " + std::to_string(dwTracks) + (dwTracks == 1 ? " track" : " tracks");
}

bool ReportPreparedSong(const tPreparedSong& Song, std::ostream& Err) {
    const std::string Path = PathToUtf8(Song.SongPath);
    switch (Song.eOutcome) {
        case SONG_REFUSED:
            Err << kProgramName << ": " << Song.FailureText
                << (IsRefusedForItsTracks(Song) ? kMergeHint : "") << "\n";
            return false;
        case SONG_CONTENT_FAILURE:
        case SONG_FILE_SYSTEM_FAILURE:
            Err << Path << ": cannot convert: " << Song.FailureText << "\n";
            return false;
        case SONG_CONVERTED:
            break;
    }
    if (Song.bDebugDumpFailed) {
        Err << kProgramName << ": cannot write " << cDebugDump::kFileName
            << " in the working directory (" << Song.DebugDumpFailureText << "); no debug dump for "
            << Path << "\n";
    }
    if (Song.dwMergedTracks > 0) {
        Err << Path << ": " << MergedTracksText(Song.dwMergedTracks) << "\n";
    }
    if (Song.bEventsRemoved) {
        Err << Path << SongMessages::kEventsRemoved << "\n";
    }
    return true;
}

void ReportPreparedSongs(const tPreparedSongs& Songs, std::ostream& Err) {
    for (const tPreparedSong& Song : Songs.Songs) {
        ReportPreparedSong(Song, Err);
    }
}

bool ReportUndeleted(const std::vector<tUndeletedFile>& Undeleted, std::ostream& Err) {
    for (const tUndeletedFile& File : Undeleted) {
        Err << PathToUtf8(File.Path) << ": cannot delete: " << File.Reason << "\n";
    }
    return Undeleted.empty();
}
