#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/WorkFolder.h"

// On Windows the work folder is %LOCALAPPDATA%\songloader, the variable read as UTF-16: a user
// name outside the ANSI code page must not be lost.
TEST(WorkFolder, on_windows_it_is_songloader_in_the_local_application_data_of_any_user) {
    const wchar_t* szPrevious = _wgetenv(L"LOCALAPPDATA");
    const std::wstring Previous = szPrevious != nullptr ? szPrevious : L"";
    const std::wstring Local = L"C:\\Users\\\u03A3\u03CC\u03BB\u03BF \u66F2\\AppData\\Local";
    ASSERT_EQ(_wputenv((L"LOCALAPPDATA=" + Local).c_str()), 0);
    EXPECT_EQ(UserWorkFolder(), std::filesystem::path(Local + L"\\songloader"));
    ASSERT_EQ(_wputenv(L"LOCALAPPDATA="), 0);
    EXPECT_TRUE(UserWorkFolder().empty());
    _wputenv((L"LOCALAPPDATA=" + Previous).c_str());
}
