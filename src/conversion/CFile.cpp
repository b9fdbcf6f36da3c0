#include "conversion/CFile.h"

#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace {

#ifdef _WIN32
std::FILE* OpenForReading(const std::filesystem::path& FilePath) {
    return _wfopen(FilePath.c_str(), L"rb");
}

// The Windows C library (msvcrt) knows no "x" mode: the file is created exclusively at the
// level below, where _O_EXCL asks the system to fail if anything has the name.
std::FILE* OpenNew(const std::filesystem::path& FilePath) {
    const int iFile =
        _wopen(FilePath.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (iFile < 0) {
        return nullptr;
    }
    std::FILE* pFile = _wfdopen(iFile, L"wb");
    if (pFile == nullptr) {
        _close(iFile);
    }
    return pFile;
}
#else
std::FILE* OpenForReading(const std::filesystem::path& FilePath) {
    return std::fopen(FilePath.c_str(), "rb");
}

// "x" is the C library's exclusive mode: the file is created only if nothing has the name.
std::FILE* OpenNew(const std::filesystem::path& FilePath) {
    return std::fopen(FilePath.c_str(), "wbx");
}
#endif

}  // namespace

std::FILE* OpenFileForReading(const std::filesystem::path& FilePath) {
    return OpenForReading(FilePath);
}

std::FILE* CreateNewFile(const std::filesystem::path& FilePath) {
    return OpenNew(FilePath);
}

std::string SystemErrorText(int iErrno) {
    return std::generic_category().message(iErrno);
}
