#include "options/CommandLine.h"

#include <charconv>

namespace {

const tOptionDefinition* FindDefinition(const std::string& Name,
                                        const std::vector<tOptionDefinition>& Definitions) {
    for (const tOptionDefinition& Definition : Definitions) {
        if (Name == Definition.szName ||
            (Definition.Alias != nullptr && Name == Definition.Alias)) {
            return &Definition;
        }
    }
    return nullptr;
}

bool IsOption(const std::string& Arg) {
    return Arg.size() > 1 && Arg[0] == '-';
}

}  // namespace

tParsedArgs ParseCommandLine(const std::vector<std::string>& Args,
                             const std::vector<tOptionDefinition>& Definitions) {
    tParsedArgs Parsed;
    bool bOptionsEnded = false;
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& Arg = Args[i];
        if (bOptionsEnded || !IsOption(Arg)) {
            Parsed.Operands.push_back(Arg);
            continue;
        }
        if (Arg == "--") {
            bOptionsEnded = true;
            continue;
        }
        const size_t uiEquals = Arg.find('=');
        const std::string Name = Arg.substr(0, uiEquals);
        const tOptionDefinition* pDefinition = FindDefinition(Name, Definitions);
        if (pDefinition == nullptr) {
            Parsed.Error = "unrecognized option '" + Name + "'";
            return Parsed;
        }
        std::string Value;
        if (uiEquals != std::string::npos) {
            if (!pDefinition->TakesValue) {
                Parsed.Error = "option '" + std::string(pDefinition->szName) + "' takes no value";
                return Parsed;
            }
            Value = Arg.substr(uiEquals + 1);
        } else if (pDefinition->TakesValue) {
            if (i + 1 >= Args.size()) {
                Parsed.Error = "option '" + std::string(pDefinition->szName) + "' requires a value";
                return Parsed;
            }
            Value = Args[++i];
        }
        Parsed.Options[pDefinition->szName] = Value;
    }
    return Parsed;
}

bool ParseInt32(const std::string& Text, int32_t& iValue) {
    const char* pLast = Text.data() + Text.size();
    int32_t iParsed = 0;
    const auto [pEnd, eError] = std::from_chars(Text.data(), pLast, iParsed);
    if (Text.empty() || eError != std::errc() || pEnd != pLast) {
        return false;
    }
    iValue = iParsed;
    return true;
}
