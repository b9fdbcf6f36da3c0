#include "cli/ProgramText.h"

// <windows.h> must come before <shellapi.h>.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace {

std::string Utf8FromWide(const wchar_t* szText) {
    const int iBytes = WideCharToMultiByte(CP_UTF8, 0, szText, -1, nullptr, 0, nullptr, nullptr);
    if (iBytes <= 1) {
        return {};
    }
    std::string Text(static_cast<size_t>(iBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, szText, -1, Text.data(), iBytes, nullptr, nullptr);
    Text.resize(static_cast<size_t>(iBytes - 1));
    return Text;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int iCount = 0;
    wchar_t** pszArgs = CommandLineToArgvW(GetCommandLineW(), &iCount);
    if (pszArgs == nullptr) {
        return {argv + 1, argv + argc};
    }
    std::vector<std::string> Args;
    for (int i = 1; i < iCount; ++i) {
        Args.push_back(Utf8FromWide(pszArgs[i]));
    }
    LocalFree(pszArgs);
    return Args;
}

// Without a console (output to a file or a pipe) there is no code page to set, and the bytes
// go out as they are.
cUtf8Console::cUtf8Console() : uiPreviousCodePage(GetConsoleOutputCP()) {
    if (uiPreviousCodePage != 0) {
        SetConsoleOutputCP(CP_UTF8);
    }
}

cUtf8Console::~cUtf8Console() {
    if (uiPreviousCodePage != 0) {
        SetConsoleOutputCP(uiPreviousCodePage);
    }
}
