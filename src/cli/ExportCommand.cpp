#include "cli/ExportCommand.h"

#include <cstdio>
#include <filesystem>
#include <utility>

#include "app/ConvertedFiles.h"
#include "app/FileDumpStream.h"
#include "app/SongPreparation.h"
#include "app/Utf8Path.h"
#include "app/WorkFolder.h"
#include "cli/CommandOutput.h"
#include "cli/Interrupt.h"
#include "cli/MergeOption.h"
#include "cli/SongReport.h"
#include "conversion/SongFile.h"

namespace {

constexpr const char* kCommand = "export";

// The song file of a prepared song; its x10 file, a work file, is gone afterwards.
bool SongFileOf(const tPreparedSong& Song, std::vector<uint8_t>& Bytes, tCliContext& Context) {
    tSongFileRead Read = ReadSongFile(Song.X10Path);
    ReportUndeleted(DeleteConvertedFiles({Song.X10Path}), Context.Err);
    if (Read.eFailure != CONV_NONE) {
        Context.Err << PathToUtf8(Song.X10Path)
                    << ": cannot read the converted song: " << ReadFailureText(Read) << "\n";
        return false;
    }
    Bytes = std::move(Read.Bytes);
    return true;
}

int Interrupted(tCliContext& Context) {
    Context.Err << kProgramName << " " << kCommand << ": interrupted; nothing was written\n";
    return InterruptStatus();
}

int Export(const std::string& Song, const std::string& Output, const tPreparationOptions& Options,
           tCliContext& Context) {
    const tPreparedSong Prepared = PrepareSong(PathFromUtf8(Song), Options);
    if (InterruptRequested()) {
        DeleteConvertedFiles({Prepared.X10Path});
        return Interrupted(Context);
    }
    std::vector<uint8_t> SongFile;
    if (!ReportPreparedSong(Prepared, Context.Err) || !SongFileOf(Prepared, SongFile, Context)) {
        return kExitFailure;
    }
    return WriteCommandOutput(
        kCommand, Song, Output,
        [&SongFile, &Prepared](std::FILE* pFile) {
            return WriteFileDumpStream(std::move(SongFile), Prepared.SongPath, pFile);
        },
        Context);
}

int RunExport(const tParsedArgs& Parsed, tCliContext& Context) {
    const std::string Error = CheckOneFileAndOutput(Parsed, "FILE", "OUT.syx");
    if (!Error.empty()) {
        return UsageError(Context.Err, kCommand, Error);
    }
    return Export(Parsed.Operands.front(), Parsed.Options.at("--output"),
                  {Parsed.Has("--debug"), Parsed.Has("--merge-tracks"), UserWorkFolder()}, Context);
}

}  // namespace

const tCliCommand& ExportCommand() {
    static const tCliCommand Command{
        kCommand,
        "export [--merge-tracks] [--debug] FILE.mid -o OUT.syx",
        "convert a song and write its whole File Dump stream as a .syx file",
        "Converts a format-0 Standard MIDI File and writes the File Dump messages that carry\n"
        "it to the device (header, data packets, end-of-file message) into OUT.syx, as a\n"
        "send would put them on the wire, for use with other SysEx tools.\n",
        {{"--output", "-o", true, "OUT.syx",
          "the file to write (a file there is replaced once the new one\nis complete)"},
         MergeTracksOption(),
         {"--debug", nullptr, false, nullptr, "also write the conversion dump mididebug.txt"}},
        "",
        RunExport,
        true};
    return Command;
}
