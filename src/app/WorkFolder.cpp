#include "app/WorkFolder.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <system_error>

#include "app/Utf8Path.h"

namespace {

#ifdef _WIN32
// The environment's wide (UTF-16) value: its narrow one is in the ANSI code page, which cannot
// hold every user's name.
std::filesystem::path FromEnvironment(const wchar_t* szName) {
    const wchar_t* szValue = _wgetenv(szName);
    return szValue != nullptr && *szValue != L'\0' ? std::filesystem::path(szValue)
                                                   : std::filesystem::path();
}
#else
std::filesystem::path FromEnvironment(const char* szName) {
    const char* szValue = std::getenv(szName);
    return szValue != nullptr && *szValue != '\0' ? PathFromUtf8(szValue) : std::filesystem::path();
}
#endif

std::filesystem::path FindUserWorkFolder() {
#ifdef _WIN32
    const std::filesystem::path Cache = FromEnvironment(L"LOCALAPPDATA");
#else
    std::filesystem::path Cache = FromEnvironment("XDG_CACHE_HOME");
    if (Cache.empty() && !FromEnvironment("HOME").empty()) {
        Cache = FromEnvironment("HOME") / ".cache";
    }
#endif
    return Cache.empty() ? Cache : Cache / "songloader";
}

}  // namespace

std::filesystem::path UserWorkFolder() {
    return FindUserWorkFolder();
}

std::filesystem::path WorkFileFor(const std::filesystem::path& WorkFolder,
                                  const std::filesystem::path& SongPath) {
    std::error_code Error;
    const std::filesystem::path Full = std::filesystem::absolute(SongPath, Error);
    const size_t uiTag = std::hash<std::string>{}(PathToUtf8(Error ? SongPath : Full));
    char acTag[24];
    std::snprintf(acTag, sizeof acTag, ".%016llx.x10", static_cast<unsigned long long>(uiTag));
    std::filesystem::path Name = SongPath.filename();
    Name += acTag;
    return WorkFolder / Name;
}
