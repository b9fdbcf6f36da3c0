#include "app/WorkFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "app/Utf8Path.h"
#include "files/FileAccess.h"
#include "files/UniqueFile.h"
#include "transfer/SongName.h"

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

std::string LastSystemError() {
    return SystemErrorText(errno != 0 ? errno : EIO);
}

// A new empty file Start + tag + ".x10" in Folder; empty with errno set when none can be made.
std::filesystem::path CreateEmpty(const std::filesystem::path& Folder,
                                  const std::filesystem::path& Start) {
    std::filesystem::path Made;
    std::FILE* pFile = CreateUniqueFile(Folder, Start, ".x10", Made);
    if (pFile == nullptr) {
        return {};
    }
    if (std::fclose(pFile) != 0) {
        const int iErrno = errno;
        std::error_code Ignored;
        std::filesystem::remove(Made, Ignored);
        errno = iErrno;
        return {};
    }
    return Made;
}

}  // namespace

std::filesystem::path UserWorkFolder() {
    return FindUserWorkFolder();
}

std::filesystem::path CreateWorkFile(const std::filesystem::path& WorkFolder,
                                     const std::filesystem::path& SongPath, std::string& Problem) {
    const std::string Name = SongNameFromPath(PathToUtf8(SongPath)) + ".";
    std::string InWorkFolder = "no work folder could be named";
    if (!WorkFolder.empty()) {
        std::error_code Ignored;  // a folder that cannot be made fails the create below
        std::filesystem::create_directories(WorkFolder, Ignored);
        std::filesystem::path Made = CreateEmpty(WorkFolder, PathFromUtf8(Name));
        if (!Made.empty()) {
            return Made;
        }
        const std::string Reason = LastSystemError();
        InWorkFolder = "not in " + PathToUtf8(WorkFolder) + ": " + Reason;
    }
    std::filesystem::path Beside = CreateEmpty(SongPath.parent_path(), PathFromUtf8("." + Name));
    if (Beside.empty()) {
        const std::string Reason = LastSystemError();
        Problem = "cannot create a work file for the song, " + InWorkFolder +
                  ", nor beside the song: " + Reason;
    }
    return Beside;
}
