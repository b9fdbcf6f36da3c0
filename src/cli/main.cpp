#include <iostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/Terminal.h"

int main(int argc, char** argv) {
    const std::vector<std::string> Args(argv + 1, argv + argc);
    return RunSongLoaderCli(Args, tCliStreams{std::cin, std::cout, std::cerr, StdoutIsTerminal()});
}
