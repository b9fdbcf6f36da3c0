#include "app/SettingsFile.h"

#include <charconv>
#include <fstream>
#include <system_error>

namespace SettingsFile {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string TrimBlanks(const std::string& Text) {
    std::size_t uiFirst = 0;
    std::size_t uiEnd = Text.size();
    while (uiFirst < uiEnd && IsBlank(Text[uiFirst])) {
        ++uiFirst;
    }
    while (uiEnd > uiFirst && IsBlank(Text[uiEnd - 1])) {
        --uiEnd;
    }
    return Text.substr(uiFirst, uiEnd - uiFirst);
}

// Keeps an index only when it names one of uiDeviceCount devices; a negative value, taken as
// unsigned, is never below the count.
int32_t CheckIndex(std::optional<int32_t> Index, std::size_t uiDeviceCount) {
    if (!Index || static_cast<uint32_t>(*Index) >= uiDeviceCount) {
        return -1;
    }
    return *Index;
}

std::vector<std::string> ReadFirstLines(const std::filesystem::path& File, std::size_t uiCount) {
    std::ifstream In(File, std::ios::binary);
    std::string Bytes(kMaxBytesRead, '\0');
    In.read(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Bytes.resize(static_cast<std::size_t>(In.gcount()));

    std::vector<std::string> asLines;
    std::size_t uiStart = 0;
    while (asLines.size() < uiCount && uiStart < Bytes.size()) {
        std::size_t uiEnd = Bytes.find('\n', uiStart);
        if (uiEnd == std::string::npos) {
            uiEnd = Bytes.size();
        }
        std::string Line = Bytes.substr(uiStart, uiEnd - uiStart);
        if (!Line.empty() && Line.back() == '\r') {
            Line.pop_back();
        }
        asLines.push_back(Line);
        uiStart = uiEnd + 1;
    }
    return asLines;
}

}  // namespace

std::optional<int32_t> ParseIndexLine(const std::string& Line) {
    const std::size_t uiEquals = Line.find('=');
    std::string Value =
        TrimBlanks(uiEquals == std::string::npos ? Line : Line.substr(uiEquals + 1));
    if (!Value.empty() && Value.front() == '+') {
        Value.erase(0, 1);
        if (Value.empty() || Value.front() == '-') {
            return std::nullopt;
        }
    }
    int32_t iValue = 0;
    const char* pEnd = Value.data() + Value.size();
    const auto [pStop, eError] = std::from_chars(Value.data(), pEnd, iValue, 10);
    if (Value.empty() || eError != std::errc() || pStop != pEnd) {
        return std::nullopt;
    }
    return iValue;
}

tSavedDevices ReadDeviceChoice(const std::filesystem::path& File,
                               const std::vector<std::string>& asInPortNames,
                               const std::vector<std::string>& asOutPortNames) {
    std::error_code Error;
    if (asInPortNames.empty() || asOutPortNames.empty() ||
        !std::filesystem::is_regular_file(File, Error)) {
        return {};
    }
    const std::vector<std::string> asLines = ReadFirstLines(File, 2);
    const auto LineValue = [&asLines](std::size_t uiLine) {
        return uiLine < asLines.size() ? ParseIndexLine(asLines[uiLine]) : std::nullopt;
    };
    tSavedDevices Choice;
    Choice.iSelectedInPort = CheckIndex(LineValue(0), asInPortNames.size());
    Choice.iSelectedOutPort = CheckIndex(LineValue(1), asOutPortNames.size());
    if (Choice.iSelectedOutPort != -1 &&
        asOutPortNames[static_cast<std::size_t>(Choice.iSelectedOutPort)].find(
            kSoftwareSynthName) != std::string::npos) {
        return {};
    }
    return Choice;
}

std::string FormatSavedDevices(const tSavedDevices& Choice) {
    return "MIDIINPORT=" + std::to_string(Choice.iSelectedInPort) + "\r\n" +
           "MIDIOUTPORT=" + std::to_string(Choice.iSelectedOutPort) + "\r\n";
}

bool WriteDeviceChoice(const std::filesystem::path& File, const tSavedDevices& Choice) {
    std::ofstream Out(File, std::ios::binary | std::ios::trunc);
    const std::string Text = FormatSavedDevices(Choice);
    Out.write(Text.data(), static_cast<std::streamsize>(Text.size()));
    Out.close();
    return !Out.fail();
}

}  // namespace SettingsFile
