#include "cli/CommandOutput.h"

#include "app/OutputFile.h"
#include "app/Utf8Path.h"
#include "cli/Interrupt.h"

int WriteCommandOutput(const char* szCommand, const std::string& Song, const std::string& Output,
                       const std::vector<uint8_t>& Bytes, tCliContext& Context) {
    return WriteCommandOutput(szCommand, Song, Output, WriterOf(Bytes), Context);
}

int WriteCommandOutput(const char* szCommand, const std::string& Song, const std::string& Output,
                       const tOutputWriter& Write, tCliContext& Context) {
    if (InterruptRequested()) {
        Context.Err << kProgramName << " " << szCommand << ": interrupted; nothing was written\n";
        return InterruptStatus();
    }
    const std::string Error = WriteOutputFile(PathFromUtf8(Output), Write, PathFromUtf8(Song));
    if (!Error.empty()) {
        Context.Err << kProgramName << " " << szCommand << ": " << Error << "\n";
        return kExitFailure;
    }
    Context.Out << Output << "\n";
    return kExitSuccess;
}
