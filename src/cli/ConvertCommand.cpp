#include "cli/ConvertCommand.h"

#include "commandline/CommandLine.h"
#include "conversion/DebugDump.h"
#include "conversion/SongConversion.h"
#include "conversion/SongMessages.h"

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
    const tSongVerdict eVerdict = VetSong(File);
    if (eVerdict != SONG_FORMAT_0) {
        Context.Err << VerdictMessage(File, eVerdict) << "\n";
        return false;
    }
    const tSongConversion Result = ConvertSong(File, bDebug);
    if (!Result.bConverted) {
        Context.Err << File << ": cannot convert: " << Result.FailureText << "\n";
        return false;
    }
    if (Result.bDebugDumpFailed) {
        Context.Err << kProgramName << ": cannot write " << cDebugDump::kFileName
                    << " in the working directory; no debug dump for " << File << "\n";
    }
    if (Result.bEventsRemoved) {
        Context.Err << File << SongMessages::kEventsRemoved << "\n";
    }
    Context.Out << Result.X10FilePath.string() << "\n";
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
