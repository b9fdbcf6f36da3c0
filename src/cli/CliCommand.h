#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CliContext.h"
#include "options/CommandHelp.h"
#include "options/CommandLine.h"

// One command of songloader-cli: its synopsis and one-line summary for the program's help, its
// own help page, its options (each with its help; --help is added for every command) and what
// runs it with the parsed arguments.
struct tCliCommand {
    const char* Name;
    const char* Synopsis;  // "convert [--debug] FILE...", after the program's name
    const char* Summary;
    std::string Description;
    std::vector<tOptionDefinition> Options;
    std::string Notes;
    int (*pRun)(const tParsedArgs& Args, tCliContext& Context);
    // Ctrl-C, SIGTERM and SIGHUP only raise a flag from the command's first moment on (see
    // Interrupt.h): the command looks at it between steps and cleans up before it ends.
    bool CatchesSignals = false;
};

// Reads the command's arguments by its option table, and answers bad usage (status 2) and
// --help (status 0) itself; otherwise runs the command. Returns the exit status.
int RunCliCommand(const tCliCommand& Command, tCliContext& Context);

// The operands of a command that reads one file and writes --output (export, merge): empty
// when they are usable, else the usage error's text.
std::string CheckOneFileAndOutput(const tParsedArgs& Parsed, const char* szFile,
                                  const char* szOutput);
