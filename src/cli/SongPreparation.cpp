#include "cli/SongPreparation.h"

#include <filesystem>
#include <system_error>

#include "cli/CliContext.h"
#include "conversion/DebugDump.h"
#include "conversion/SongConversion.h"
#include "conversion/SongMessages.h"

namespace {

bool PrepareOne(const std::string& File, bool bDebug, tPreparedSongs& Prepared, std::ostream& Err) {
    const tSongVerdict eVerdict = VetSong(File);
    if (eVerdict != SONG_FORMAT_0) {
        Err << VerdictMessage(File, eVerdict) << "\n";
        return false;
    }
    const tSongConversion Result = ConvertSong(File, bDebug);
    if (!Result.bConverted) {
        Err << File << ": cannot convert: " << Result.FailureText << "\n";
        if (Result.bFileSystemFailure) {
            Err << SongMessages::kFileSystemError << "\n";
            Prepared.bFileSystemFailure = true;
        }
        return false;
    }
    if (Result.bDebugDumpFailed) {
        Err << kProgramName << ": cannot write " << cDebugDump::kFileName
            << " in the working directory; no debug dump for " << File << "\n";
    }
    if (Result.bEventsRemoved) {
        Err << File << SongMessages::kEventsRemoved << "\n";
    }
    Prepared.SongPaths.push_back(File);
    Prepared.X10Paths.push_back(Result.X10FilePath.string());
    return true;
}

}  // namespace

tPreparedSongs PrepareSongs(const std::vector<std::string>& Files, bool bDebug, std::ostream& Err) {
    tPreparedSongs Prepared;
    for (const std::string& File : Files) {
        if (!PrepareOne(File, bDebug, Prepared, Err)) {
            Prepared.bAllPrepared = false;
        }
        if (Prepared.bFileSystemFailure) {
            DeleteX10Files(Prepared.X10Paths, Err);
            Prepared.SongPaths.clear();
            Prepared.X10Paths.clear();
            break;
        }
    }
    return Prepared;
}

bool DeleteX10Files(const std::vector<std::string>& X10Paths, std::ostream& Err) {
    bool bAllDeleted = true;
    for (const std::string& X10Path : X10Paths) {
        std::error_code Error;
        std::filesystem::remove(X10Path, Error);
        if (Error) {
            Err << X10Path << ": cannot delete: " << Error.message() << "\n";
            bAllDeleted = false;
        }
    }
    return bAllDeleted;
}
