#include "cli/MergeCommand.h"

#include "app/Utf8Path.h"
#include "cli/CommandOutput.h"
#include "cli/SongReport.h"
#include "conversion/SongConversion.h"

namespace {

constexpr const char* kCommand = "merge";

int Merge(const std::string& Song, const std::string& Output, tCliContext& Context) {
    const tMergedSong Merged = MergeSongFile(PathFromUtf8(Song));
    if (!Merged.Merged) {
        Context.Err << Song << ": cannot merge: " << Merged.FailureText << "\n";
        return kExitFailure;
    }
    const int iStatus = WriteCommandOutput(kCommand, Song, Output, Merged.Song, Context);
    if (iStatus == kExitSuccess && Merged.TrackCount > 0) {
        Context.Err << Song << ": " << MergedTracksText(Merged.TrackCount) << "\n";
    }
    return iStatus;
}

int RunMerge(const tParsedArgs& Parsed, tCliContext& Context) {
    const std::string Error = CheckOneFileAndOutput(Parsed, "SONG", "OUT.mid");
    if (!Error.empty()) {
        return UsageError(Context.Err, kCommand, Error);
    }
    return Merge(Parsed.Operands.front(), Parsed.Options.at("--output"), Context);
}

}  // namespace

const tCliCommand& MergeCommand() {
    static const tCliCommand Command{
        kCommand,
        "merge SONG.mid -o OUT.mid",
        "merge a multi-track song into a single-track (format 0) song",
        "Merges the tracks of a multi-track (format 1) Standard MIDI File into the one\n"
        "track of a format-0 file, OUT.mid, for other devices and programs: the events in\n"
        "order of time, the lower track first at equal times. A format-0 song is written\n"
        "unchanged.\n",
        {{"--output", "-o", true, "OUT.mid",
          "the file to write (a file there is replaced once the new one\nis complete)"}},
        "",
        RunMerge,
        true};
    return Command;
}
