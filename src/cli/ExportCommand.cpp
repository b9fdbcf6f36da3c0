#include "cli/ExportCommand.h"

#include <filesystem>

#include "app/ConvertedFiles.h"
#include "app/SongPreparation.h"
#include "app/Utf8Path.h"
#include "app/WorkFolder.h"
#include "cli/CommandOutput.h"
#include "cli/Interrupt.h"
#include "cli/MergeOption.h"
#include "cli/SongReport.h"
#include "conversion/SongFile.h"
#include "transfer/FileDumpMessages.h"
#include "transfer/SongName.h"

namespace {

constexpr const char* kCommand = "export";

// The messages of one song file, numbered as a send numbers them: the header 0, data packet k
// with k, the end-of-file message with the data packet count plus one.
std::vector<uint8_t> FileDumpStream(const std::vector<uint8_t>& SongFile, const std::string& Name) {
    std::vector<uint8_t> Stream =
        FileDump::BuildHeader(static_cast<uint32_t>(SongFile.size()), Name);
    int32_t iPacket = 1;
    for (size_t uiStart = 0; uiStart < SongFile.size(); uiStart += FileDump::kBytesPerPacket) {
        const size_t uiLeft = SongFile.size() - uiStart;
        const int n = static_cast<int>(
            uiLeft < FileDump::kBytesPerPacket ? uiLeft : FileDump::kBytesPerPacket);
        const std::vector<uint8_t> Packet =
            FileDump::BuildDataPacket(iPacket++, SongFile.data() + uiStart, n);
        Stream.insert(Stream.end(), Packet.begin(), Packet.end());
    }
    const std::vector<uint8_t> EndOfFile = FileDump::BuildEndOfFile(iPacket);
    Stream.insert(Stream.end(), EndOfFile.begin(), EndOfFile.end());
    return Stream;
}

// The stream of a prepared song; its x10 file, a work file, is gone afterwards.
bool StreamOf(const tPreparedSong& Song, std::vector<uint8_t>& Stream, tCliContext& Context) {
    const tSongFileRead Read = ReadSongFile(Song.X10Path);
    ReportUndeleted(DeleteConvertedFiles({Song.X10Path}), Context.Err);
    if (Read.eFailure != CONV_NONE) {
        Context.Err << PathToUtf8(Song.X10Path)
                    << ": cannot read the converted song: " << ReadFailureText(Read) << "\n";
        return false;
    }
    Stream = FileDumpStream(Read.Bytes, SongNameFromPath(PathToUtf8(Song.SongPath)));
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
    std::vector<uint8_t> Stream;
    if (!ReportPreparedSong(Prepared, Context.Err) || !StreamOf(Prepared, Stream, Context)) {
        return kExitFailure;
    }
    return WriteCommandOutput(kCommand, Song, Output, Stream, Context);
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
