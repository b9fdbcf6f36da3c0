#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TempDir.h"

// Points the user's work folder, where a send's x10 work files go, into a test folder while
// this object lives ($XDG_CACHE_HOME, or %LOCALAPPDATA% on Windows), and back again after.
class cScopedWorkFolder {
  public:
    cScopedWorkFolder() {
#ifdef _WIN32
        const wchar_t* szPrevious = _wgetenv(kVariable);
        Previous = szPrevious != nullptr ? szPrevious : L"";
        _wputenv((std::wstring(kVariable) + L"=" + Cache.path().wstring()).c_str());
#else
        const char* szPrevious = std::getenv(kVariable);
        bHadPrevious = szPrevious != nullptr;
        Previous = bHadPrevious ? szPrevious : "";
        setenv(kVariable, Cache.path().c_str(), 1);
#endif
    }
    cScopedWorkFolder(const cScopedWorkFolder&) = delete;
    cScopedWorkFolder& operator=(const cScopedWorkFolder&) = delete;
    ~cScopedWorkFolder() {
#ifdef _WIN32
        _wputenv((std::wstring(kVariable) + L"=" + Previous).c_str());
#else
        if (bHadPrevious) {
            setenv(kVariable, Previous.c_str(), 1);
        } else {
            unsetenv(kVariable);
        }
#endif
    }

    // The folder the work files go to.
    std::filesystem::path Folder() const {
        return Cache / "songloader";
    }
    // How many files are in it now.
    size_t Files() const {
        std::error_code Error;
        size_t uiCount = 0;
        for (std::filesystem::directory_iterator It(Folder(), Error), End; !Error && It != End;
             It.increment(Error)) {
            ++uiCount;
        }
        return uiCount;
    }

  private:
    TempDir Cache;
#ifdef _WIN32
    static constexpr const wchar_t* kVariable = L"LOCALAPPDATA";
    std::wstring Previous;
#else
    static constexpr const char* kVariable = "XDG_CACHE_HOME";
    bool bHadPrevious = false;
    std::string Previous;
#endif
};
