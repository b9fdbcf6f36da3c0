#include <iostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/ProgramText.h"
#include "cli/Terminal.h"

int main(int argc, char** argv) {
    const cUtf8Console Console;
    const std::vector<std::string> Args = ProgramArguments(argc, argv);
    return RunSongLoaderCli(Args, tCliStreams{std::cin, std::cout, std::cerr, StdoutIsTerminal()});
}
