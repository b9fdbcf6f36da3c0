#include "cli/CliApp.h"

#include <cerrno>
#include <sstream>
#include <system_error>

#include "app/Version.h"
#include "cli/CliContext.h"
#include "cli/ConvertCommand.h"
#include "cli/DevicesCommand.h"
#include "cli/ExportCommand.h"
#include "cli/MergeCommand.h"
#include "cli/SendCommand.h"
#include "cli/UnlockCommand.h"

namespace {

// The commands, in the order the program's help lists them. Made on first use: each command's
// description is itself made on first use, in whatever order the program starts.
const std::vector<const tCliCommand*>& Commands() {
    static const std::vector<const tCliCommand*> List = {&ConvertCommand(), &DevicesCommand(),
                                                         &ExportCommand(),  &MergeCommand(),
                                                         &SendCommand(),    &UnlockCommand()};
    return List;
}

void PrintHelp(std::ostream& Out) {
    Out << "Usage: " << kProgramName << " COMMAND [OPTION]... [ARGUMENT]...\n"
        << "Prepares songs for TAV devices (Orvik, Melko) and loads them over MIDI.\n\n"
        << "Commands:\n";
    for (const tCliCommand* pCommand : Commands()) {
        Out << "  " << pCommand->Synopsis << "\n      " << pCommand->Summary << "\n";
    }
    Out << "\nOptions:\n"
        << "  -h, --help     show this help and exit\n"
        << "  -V, --version  show the version and exit\n\n"
        << "Run '" << kProgramName << " COMMAND --help' for the options of a command.\n"
        << "Exit status: 0 on success, 1 when anything failed, 2 for bad usage.\n";
}

// What a command printed must have reached its stdout, as common Unix tools see to it: a full
// disk or a closed stdout is an error, said on stderr, and the status says so.
int CheckOutputWritten(int iStatus, std::ostream& Out, std::ostream& Err) {
    // A write that failed earlier leaves the stream failed: flush once more all the same, so
    // that the system's reason is fresh.
    const bool bFailedBefore = Out.fail();
    Out.clear();
    errno = 0;
    Out.flush();  // std::cout flushes the C library's stdout too, where a full disk shows
    if (!bFailedBefore && !Out.fail()) {
        return iStatus;
    }
    const int iErrno = errno;
    Err << kProgramName << ": cannot write the output"
        << (iErrno != 0 ? ": " + std::generic_category().message(iErrno) : std::string()) << "\n";
    return iStatus == kExitSuccess ? kExitFailure : iStatus;
}

int RunCommandLine(const std::vector<std::string>& Args, const tCliStreams& Streams) {
    std::ostream& Out = Streams.Out;
    std::ostream& Err = Streams.Err;
    if (Args.empty()) {
        return UsageError(Err, "", "missing command");
    }
    const std::string& First = Args.front();
    if (First == "-h" || First == "--help" || First == "help") {
        PrintHelp(Out);
        return kExitSuccess;
    }
    if (First == "-V" || First == "--version") {
        Out << kProgramName << " " << kSongLoaderVersion << "\n";
        return kExitSuccess;
    }
    for (const tCliCommand* pCommand : Commands()) {
        if (First == pCommand->Name) {
            tCliContext Context{
                {Args.begin() + 1, Args.end()}, Out, Err, Streams.In, Streams.OutIsTerminal};
            return RunCliCommand(*pCommand, Context);
        }
    }
    if (First.size() > 1 && First[0] == '-') {
        return UsageError(Err, "", "unrecognized option '" + First + "'");
    }
    return UsageError(Err, "", "unknown command '" + First + "'");
}

}  // namespace

int UsageError(std::ostream& Err, const std::string& Command, const std::string& Message) {
    const std::string Prefix = Command.empty() ? kProgramName : kProgramName + (" " + Command);
    Err << Prefix << ": " << Message << "\n"
        << "Try '" << Prefix << " --help' for more information.\n";
    return kExitUsage;
}

int RunSongLoaderCli(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
    std::istringstream NoInput;
    return RunSongLoaderCli(Args, tCliStreams{NoInput, Out, Err});
}

int RunSongLoaderCli(const std::vector<std::string>& Args, const tCliStreams& Streams) {
    return CheckOutputWritten(RunCommandLine(Args, Streams), Streams.Out, Streams.Err);
}
