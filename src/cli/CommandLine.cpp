#include "CommandLine.h"

#include <charconv>

namespace {

const tOptionSpec* FindSpec(const std::string& Name, std::initializer_list<tOptionSpec> Specs) {
    for (const tOptionSpec& Spec : Specs) {
        if (Name == Spec.szName || (Spec.szAlias != nullptr && Name == Spec.szAlias)) {
            return &Spec;
        }
    }
    return nullptr;
}

bool IsOption(const std::string& Arg) {
    return Arg.size() > 1 && Arg[0] == '-';
}

}  // namespace

tParsedArgs ParseCommandLine(const std::vector<std::string>& Args,
                             std::initializer_list<tOptionSpec> Specs) {
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
        const tOptionSpec* pSpec = FindSpec(Name, Specs);
        if (pSpec == nullptr) {
            Parsed.Error = "unrecognized option '" + Name + "'";
            return Parsed;
        }
        std::string Value;
        if (uiEquals != std::string::npos) {
            if (!pSpec->bTakesValue) {
                Parsed.Error = "option '" + std::string(pSpec->szName) + "' takes no value";
                return Parsed;
            }
            Value = Arg.substr(uiEquals + 1);
        } else if (pSpec->bTakesValue) {
            if (i + 1 >= Args.size()) {
                Parsed.Error = "option '" + std::string(pSpec->szName) + "' requires a value";
                return Parsed;
            }
            Value = Args[++i];
        }
        Parsed.Options[pSpec->szName] = Value;
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
