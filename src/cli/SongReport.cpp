#include "cli/SongReport.h"

#include "app/Utf8Path.h"
#include "cli/CliContext.h"
#include "conversion/DebugDump.h"
#include "conversion/SongMessages.h"

bool ReportPreparedSong(const tPreparedSong& Song, std::ostream& Err) {
    const std::string Path = PathToUtf8(Song.SongPath);
    switch (Song.eOutcome) {
        case SONG_REFUSED:
            Err << Song.FailureText << "\n";
            return false;
        case SONG_CONTENT_FAILURE:
        case SONG_FILE_SYSTEM_FAILURE:
            Err << Path << ": cannot convert: " << Song.FailureText << "\n";
            if (Song.eOutcome == SONG_FILE_SYSTEM_FAILURE) {
                Err << SongMessages::kFileSystemError << "\n";
            }
            return false;
        case SONG_CONVERTED:
            break;
    }
    if (Song.bDebugDumpFailed) {
        Err << kProgramName << ": cannot write " << cDebugDump::kFileName
            << " in the working directory; no debug dump for " << Path << "\n";
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
    ReportUndeleted(Songs.Undeleted, Err);
}

bool ReportUndeleted(const std::vector<tUndeletedFile>& Undeleted, std::ostream& Err) {
    for (const tUndeletedFile& File : Undeleted) {
        Err << PathToUtf8(File.Path) << ": cannot delete: " << File.Reason << "\n";
    }
    return Undeleted.empty();
}
