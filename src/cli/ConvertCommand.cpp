#include "cli/ConvertCommand.h"

#include "app/ConvertedFiles.h"
#include "app/SongPreparation.h"
#include "app/Utf8Path.h"
#include "cli/Interrupt.h"
#include "cli/MergeOption.h"
#include "cli/SongReport.h"
#include "conversion/DebugDump.h"

namespace {

constexpr const char* kCommand = "convert";

// An interrupted conversion leaves no x10 file: only those already printed stay.
bool ConvertOne(const std::string& File, const tPreparationOptions& Options, tCliContext& Context) {
    const tPreparedSong Song = PrepareSong(PathFromUtf8(File), Options);
    if (InterruptRequested()) {
        DeleteConvertedFiles({Song.X10Path});
        return false;
    }
    if (!ReportPreparedSong(Song, Context.Err)) {
        return false;
    }
    Context.Out << PathToUtf8(Song.X10Path) << "\n";
    return true;
}

int RunConvert(const tParsedArgs& Parsed, tCliContext& Context) {
    if (Parsed.Operands.empty()) {
        return UsageError(Context.Err, kCommand, "no FILE given");
    }
    // Its job is the file beside each song, FILE + "x10": no work file.
    const tPreparationOptions Options{
        Parsed.Has("--debug"), Parsed.Has("--merge-tracks"), {}, false};
    bool bAllConverted = true;
    for (const std::string& File : Parsed.Operands) {
        if (InterruptRequested()) {
            break;
        }
        bAllConverted = ConvertOne(File, Options, Context) && bAllConverted;
    }
    if (InterruptRequested()) {
        Context.Err << kProgramName << " " << kCommand
                    << ": interrupted; the x10 files printed above are complete\n";
        return InterruptStatus();
    }
    return bAllConverted ? kExitSuccess : kExitFailure;
}

}  // namespace

const tCliCommand& ConvertCommand() {
    static const tCliCommand Command{
        kCommand,
        "convert [--merge-tracks] [--debug] FILE...",
        "convert Standard MIDI Files into x10 song files beside them",
        "Converts each format-0 Standard MIDI File into the device's x10 song file,\n"
        "written beside it as FILE followed by \"x10\"; prints each x10 path.\n",
        {MergeTracksOption(),
         {"--debug", nullptr, false, nullptr,
          std::string("also write the conversion dump ") + cDebugDump::kFileName +
              " in the\nworking directory (it holds the last song converted)"}},
        "A song that fails is reported on stderr and leaves no x10 file; the other\n"
        "songs are still converted, and the exit status is then 1.\n",
        RunConvert,
        true};
    return Command;
}
