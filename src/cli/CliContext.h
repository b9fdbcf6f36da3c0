#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// The program's standard streams; bOutIsTerminal: Out is a terminal, so progress may be redrawn
// in place.
struct tCliStreams {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
    bool OutIsTerminal = false;
};

// What a command gets: its own arguments (after the command's name) and the streams.
struct tCliContext {
    std::vector<std::string> Args;
    std::ostream& Out;
    std::ostream& Err;
    std::istream& In;
    bool bOutIsTerminal = false;
};

// Exit statuses, as common Unix tools give them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kProgramName = "songloader-cli";

// Reports bad usage on stderr with the hint to ask for help, and gives the usage status.
int UsageError(std::ostream& Err, const std::string& Command, const std::string& Message);
