#include "files/FileByRename.h"

#include <cerrno>
#include <cstdio>

#include "files/UniqueFile.h"

namespace {

bool WriteAndClose(std::FILE* pFile, const std::function<bool(std::FILE*)>& Write,
                   std::error_code& Error) {
    errno = 0;
    const bool bWritten = Write(pFile);
    const int iWriteErrno = errno;
    const bool bClosed = std::fclose(pFile) == 0;  // flushes; a full disk shows here
    if (bWritten && bClosed) {
        return true;
    }
    const int iErrno = !bWritten ? iWriteErrno : errno;
    Error.assign(iErrno != 0 ? iErrno : EIO, std::generic_category());
    return false;
}

}  // namespace

bool WriteFileByRename(const std::filesystem::path& Target, const uint8_t* pucBytes, size_t uiCount,
                       std::error_code& Error) {
    return WriteFileByRename(
        Target,
        [&](std::FILE* pFile) { return std::fwrite(pucBytes, 1, uiCount, pFile) == uiCount; },
        Error);
}

bool WriteFileByRename(const std::filesystem::path& Target,
                       const std::function<bool(std::FILE*)>& Write, std::error_code& Error) {
    Error.clear();
    std::filesystem::path Start = ".";
    Start += Target.filename();
    Start += ".";
    std::filesystem::path WorkFile;
    std::FILE* pFile = CreateUniqueFile(Target.parent_path(), Start, ".part", WorkFile);
    if (pFile == nullptr) {
        Error.assign(errno != 0 ? errno : EIO, std::generic_category());
        return false;
    }
    if (WriteAndClose(pFile, Write, Error)) {
        std::filesystem::rename(WorkFile, Target, Error);
    }
    if (Error) {
        std::error_code Ignored;
        std::filesystem::remove(WorkFile, Ignored);
        return false;
    }
    return true;
}
