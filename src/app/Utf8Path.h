#pragma once

#include <filesystem>
#include <string>

// Paths as UTF-8 text, for the command line and the messages, whatever the system's own path
// encoding is (UTF-16 on Windows, where the narrow code page cannot hold every name).
inline std::filesystem::path PathFromUtf8(const std::string& Text) {
    return std::filesystem::path(std::u8string(Text.begin(), Text.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& Path) {
    const std::u8string Text = Path.u8string();
    return {Text.begin(), Text.end()};
}
