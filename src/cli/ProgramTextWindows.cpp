#include "cli/ProgramText.h"

// <windows.h> must come before <shellapi.h>.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string_view>

#include "midi/Utf16Text.h"

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int iCount = 0;
    wchar_t** pszArgs = CommandLineToArgvW(GetCommandLineW(), &iCount);
    if (pszArgs == nullptr) {
        return {argv + 1, argv + argc};
    }
    std::vector<std::string> Args;
    for (int i = 1; i < iCount; ++i) {
        const std::wstring_view Arg(pszArgs[i]);
        Args.push_back(Utf16ToUtf8(std::u16string(Arg.begin(), Arg.end())));
    }
    LocalFree(pszArgs);
    return Args;
}

// Without a console (output to a file or a pipe) there is no code page to set, and the bytes
// go out as they are.
cUtf8Console::cUtf8Console() : PreviousCodePage(GetConsoleOutputCP()) {
    if (PreviousCodePage != 0) {
        SetConsoleOutputCP(CP_UTF8);
    }
}

cUtf8Console::~cUtf8Console() {
    if (PreviousCodePage != 0) {
        SetConsoleOutputCP(PreviousCodePage);
    }
}
