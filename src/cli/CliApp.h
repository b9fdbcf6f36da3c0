#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliContext.h"

// Runs songloader-cli with the arguments after the program's name; returns the exit status.
int RunSongLoaderCli(const std::vector<std::string>& Args, const tCliStreams& Streams);
// The same without input: every question is answered no.
int RunSongLoaderCli(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err);
