#include "cli/CliCommand.h"

#include <optional>

#include "cli/Interrupt.h"

namespace {

std::vector<tOptionDefinition> WithHelpOption(std::vector<tOptionDefinition> Options) {
    Options.push_back({"--help", "-h", false, nullptr, "show this help and exit"});
    return Options;
}

}  // namespace

int RunCliCommand(const tCliCommand& Command, tCliContext& Context) {
    std::optional<cInterruptGuard> Guard;
    if (Command.bCatchesSignals) {
        Guard.emplace();
    }
    const std::vector<tOptionDefinition> Options = WithHelpOption(Command.Options);
    const tParsedArgs Parsed = ParseCommandLine(Context.Args, Options);
    if (!Parsed.Error.empty()) {
        return UsageError(Context.Err, Command.szName, Parsed.Error);
    }
    if (Parsed.Has("--help")) {
        PrintHelpPage(Context.Out, {std::string(kProgramName) + " " + Command.szSynopsis,
                                    Command.Description, Options, Command.Notes});
        return kExitSuccess;
    }
    return Command.pRun(Parsed, Context);
}
