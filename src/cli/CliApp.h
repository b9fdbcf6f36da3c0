#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs songloader-cli with the arguments after the program's name; returns the exit status.
int RunSongLoaderCli(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err);
