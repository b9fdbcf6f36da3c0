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
    if (Command.CatchesSignals) {
        Guard.emplace();
    }
    const std::vector<tOptionDefinition> Options = WithHelpOption(Command.Options);
    const tParsedArgs Parsed = ParseCommandLine(Context.Args, Options);
    if (!Parsed.Error.empty()) {
        return UsageError(Context.Err, Command.Name, Parsed.Error);
    }
    if (Parsed.Has("--help")) {
        PrintHelpPage(Context.Out, {std::string(kProgramName) + " " + Command.Synopsis,
                                    Command.Description, Options, Command.Notes});
        return kExitSuccess;
    }
    return Command.pRun(Parsed, Context);
}

std::string CheckOneFileAndOutput(const tParsedArgs& Parsed, const char* szFile,
                                  const char* szOutput) {
    if (Parsed.Operands.size() != 1) {
        return Parsed.Operands.empty() ? std::string("no ") + szFile + " given"
                                       : std::string("give exactly one ") + szFile;
    }
    if (!Parsed.Has("--output") || Parsed.Options.at("--output").empty()) {
        return std::string("no output file given (-o ") + szOutput + ")";
    }
    return {};
}
