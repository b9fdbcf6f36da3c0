#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "options/CommandLine.h"

// A help page in the manner of common Unix tools: the usage line, what the program or command
// does, its options in two columns (each from its definition), then closing notes. The same
// layout for every program of the project keeps their manual pages alike.
struct tHelpPage {
    std::string Usage;        // after "Usage: "
    std::string Description;  // lines ending in '\n'
    std::vector<tOptionDefinition> Options;
    std::string Notes;  // lines ending in '\n'; may be empty
};

void PrintHelpPage(std::ostream& Out, const tHelpPage& Page);
