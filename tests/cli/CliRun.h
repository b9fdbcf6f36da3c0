#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

// What the commands add to the refusal of a multi-track song when merging was not asked for.
inline constexpr const char* kMergeHint = " (give '--merge-tracks' to merge its tracks into one)";

// One run of songloader-cli in this process: its status and what it wrote.
struct tRun {
    int iStatus;
    std::string Out;
    std::string Err;
};

// Input is what the user types at a question.
inline tRun RunCli(const std::vector<std::string>& Args, const std::string& Input = "") {
    std::istringstream In(Input);
    std::ostringstream Out;
    std::ostringstream Err;
    const int iStatus = RunSongLoaderCli(Args, tCliStreams{In, Out, Err});
    return {iStatus, Out.str(), Err.str()};
}
