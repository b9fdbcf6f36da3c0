#include "cli/ProgramText.h"

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

cUtf8Console::cUtf8Console() = default;

cUtf8Console::~cUtf8Console() = default;
