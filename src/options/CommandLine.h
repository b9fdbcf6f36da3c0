#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A small parser for the options of one command, in the manner of common Unix tools:
// "--name", "--name VALUE", "--name=VALUE", short aliases, and "--" to end the options.
// The same table gives the option's line in the help (see CommandHelp.h).
struct tOptionDefinition {
    const char* szName;  // "--debug"
    const char* Alias;   // "-o", or nullptr
    bool TakesValue;
    const char* ValueName = nullptr;  // "DEV", as the help names the value
    std::string Help;                 // its help; a line break continues it in its column
};

struct tParsedArgs {
    std::map<std::string, std::string> Options;  // by long name
    std::vector<std::string> Operands;
    std::string Error;  // set when the arguments are not usable

    bool Has(const std::string& Name) const { return Options.count(Name) != 0; }
};

// A whole signed 32-bit decimal number, and nothing else.
bool ParseInt32(const std::string& Text, int32_t& iValue);

tParsedArgs ParseCommandLine(const std::vector<std::string>& Args,
                             const std::vector<tOptionDefinition>& Definitions);
