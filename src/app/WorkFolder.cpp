#include "app/WorkFolder.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <system_error>

#include "app/Utf8Path.h"

namespace {

std::filesystem::path FromEnvironment(const char* szName) {
    const char* szValue = std::getenv(szName);
    return szValue != nullptr && *szValue != '\0' ? PathFromUtf8(szValue) : std::filesystem::path();
}

std::filesystem::path FindUserWorkFolder() {
#ifdef _WIN32
    const std::filesystem::path Cache = FromEnvironment("LOCALAPPDATA");
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
