#include "cli/ConvertCommand.h"

#include "app/SongPreparation.h"
#include "app/Utf8Path.h"
#include "cli/SongReport.h"
#include "commandline/CommandLine.h"
#include "conversion/DebugDump.h"

namespace {

constexpr const char* kCommand = "convert";

void PrintConvertHelp(std::ostream& Out) {
    Out << "Usage: " << kProgramName << " convert [--debug] FILE...\n"
        << "Converts each format-0 Standard MIDI File into the device's x10 song file,\n"
        << "written beside it as FILE followed by \"x10\"; prints each x10 path.\n\n"
        << "  --debug      also write the conversion dump " << cDebugDump::kFileName << " in the\n"
        << "               working directory (it holds the last song converted)\n"
        << "  -h, --help   show this help and exit\n\n"
        << "A song that fails is reported on stderr and leaves no x10 file; the other\n"
        << "songs are still converted, and the exit status is then 1.\n";
}

bool ConvertOne(const std::string& File, bool bDebug, tCliContext& Context) {
    const tPreparedSong Song = PrepareSong(PathFromUtf8(File), bDebug);
    if (!ReportPreparedSong(Song, Context.Err)) {
        return false;
    }
    Context.Out << PathToUtf8(Song.X10Path) << "\n";
    return true;
}

}  // namespace

int RunConvertCommand(tCliContext& Context) {
    const tParsedArgs Parsed =
        ParseCommandLine(Context.Args, {{"--debug", nullptr, false}, {"--help", "-h", false}});
    if (!Parsed.Error.empty()) {
        return UsageError(Context.Err, kCommand, Parsed.Error);
    }
    if (Parsed.Has("--help")) {
        PrintConvertHelp(Context.Out);
        return kExitSuccess;
    }
    if (Parsed.Operands.empty()) {
        return UsageError(Context.Err, kCommand, "no FILE given");
    }
    bool bAllConverted = true;
    for (const std::string& File : Parsed.Operands) {
        bAllConverted = ConvertOne(File, Parsed.Has("--debug"), Context) && bAllConverted;
    }
    return bAllConverted ? kExitSuccess : kExitFailure;
}
