#include "app/SettingsFile.h"

#include <charconv>
#include <fstream>
#include <map>
#include <system_error>

#include "app/OutputFile.h"
#include "app/Utf8Path.h"

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

std::vector<std::string> ReadLines(const std::filesystem::path& File) {
    std::ifstream In(File, std::ios::binary);
    std::string Bytes(kMaxBytesRead + 1, '\0');
    In.read(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Bytes.resize(static_cast<std::size_t>(In.gcount()));
    if (Bytes.size() > kMaxBytesRead) {
        const std::size_t uiLastEnd = Bytes.rfind('\n', kMaxBytesRead - 1);
        Bytes.resize(uiLastEnd == std::string::npos ? 0 : uiLastEnd + 1);
    }

    std::vector<std::string> asLines;
    std::size_t uiStart = 0;
    while (uiStart < Bytes.size()) {
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

// The lines after the first two, by key; the first of a key counts.
std::map<std::string, std::string> KeyedValues(const std::vector<std::string>& asLines) {
    std::map<std::string, std::string> Values;
    for (std::size_t i = 2; i < asLines.size(); ++i) {
        const std::size_t uiEquals = asLines[i].find('=');
        if (uiEquals != std::string::npos) {
            Values.try_emplace(TrimBlanks(asLines[i].substr(0, uiEquals)),
                               asLines[i].substr(uiEquals + 1));
        }
    }
    return Values;
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

tSavedSettings Read(const std::filesystem::path& File) {
    std::error_code Error;
    if (!std::filesystem::is_regular_file(File, Error)) {
        return {};  // never opened: a FIFO would block the reader
    }
    const std::vector<std::string> asLines = ReadLines(File);
    const auto IndexOnLine = [&asLines](std::size_t uiLine) {
        return uiLine < asLines.size() ? ParseIndexLine(asLines[uiLine]).value_or(-1) : -1;
    };
    const std::map<std::string, std::string> Values = KeyedValues(asLines);
    const auto ValueOf = [&Values](const char* szKey) {
        const auto Found = Values.find(szKey);
        return Found == Values.end() ? std::string() : Found->second;
    };
    tSavedSettings Settings;
    Settings.iInPort = IndexOnLine(0);
    Settings.iOutPort = IndexOnLine(1);
    Settings.InName = ValueOf("MIDIINNAME");
    Settings.OutName = ValueOf("MIDIOUTNAME");
    Settings.bMergeTracks = TrimBlanks(ValueOf("MERGETRACKS")) == "1";
    Settings.AckPaced = TrimBlanks(ValueOf("ACKPACED")) == "1";
    Settings.LastFolder = PathFromUtf8(ValueOf("LASTFOLDER"));
    return Settings;
}

std::string Format(const tSavedSettings& Settings) {
    std::string LastFolder = PathToUtf8(Settings.LastFolder);
    if (LastFolder.find_first_of("\r\n") != std::string::npos) {
        LastFolder.clear();  // it would end its line early
    }
    return "MIDIINPORT=" + std::to_string(Settings.iInPort) + "\r\n" +
           "MIDIOUTPORT=" + std::to_string(Settings.iOutPort) + "\r\n" +
           "MIDIINNAME=" + Settings.InName + "\r\n" + "MIDIOUTNAME=" + Settings.OutName + "\r\n" +
           "MERGETRACKS=" + (Settings.bMergeTracks ? "1" : "0") + "\r\n" +
           "ACKPACED=" + (Settings.AckPaced ? "1" : "0") + "\r\n" + "LASTFOLDER=" + LastFolder +
           "\r\n";
}

std::string Write(const std::filesystem::path& File, const tSavedSettings& Settings) {
    std::error_code Error;
    if (!File.parent_path().empty()) {
        std::filesystem::create_directories(File.parent_path(), Error);
    }
    const std::string Text = Format(Settings);
    return WriteOutputFile(File, std::vector<uint8_t>(Text.begin(), Text.end()));
}

}  // namespace SettingsFile
