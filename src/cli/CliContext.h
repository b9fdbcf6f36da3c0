#pragma once

#include <ostream>
#include <string>
#include <vector>

// What a command gets: its own arguments (after the command's name) and the two streams.
struct tCliContext {
    std::vector<std::string> Args;
    std::ostream& Out;
    std::ostream& Err;
};

// Exit statuses, as common Unix tools give them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kProgramName = "songloader-cli";

// Reports bad usage on stderr with the hint to ask for help, and gives the usage status.
int UsageError(std::ostream& Err, const std::string& Command, const std::string& Message);
