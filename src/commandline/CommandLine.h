#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// A small parser for the options of one command, in the manner of common Unix tools:
// "--name", "--name VALUE", "--name=VALUE", short aliases, and "--" to end the options.
struct tOptionDefinition {
    const char* szName;   // "--debug"
    const char* szAlias;  // "-o", or nullptr
    bool bTakesValue;
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
                             std::initializer_list<tOptionDefinition> Definitions);
