#include "files/FileAccess.h"

#include <cerrno>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// What an open descriptor is: a regular file of Size bytes (Kind null, Folder false), a
// folder, or another kind of file.
struct tDescribed {
    bool Regular = false;
    bool Folder = false;
    const char* Kind = nullptr;
    uint64_t Size = 0;
};

#ifdef _WIN32
// A Windows open never waits on the file, so the descriptor is opened as it is. A folder cannot
// be opened at all there; its refusal ("Permission denied") is said as elsewhere.
int OpenDescriptor(const std::filesystem::path& FilePath) {
    const int iFile = _wopen(FilePath.c_str(), _O_RDONLY | _O_BINARY);
    if (iFile < 0 && errno == EACCES) {
        std::error_code Ignored;
        if (std::filesystem::is_directory(FilePath, Ignored)) {
            errno = EISDIR;
        }
    }
    return iFile;
}

bool Describe(int iFile, tDescribed& What) {
    struct _stat64 Status {};
    if (_fstat64(iFile, &Status) != 0) {
        return false;
    }
    const unsigned uiType = static_cast<unsigned>(Status.st_mode) & _S_IFMT;
    What.Regular = uiType == _S_IFREG;
    What.Folder = uiType == _S_IFDIR;
    What.Kind = uiType == _S_IFIFO ? "a FIFO" : uiType == _S_IFCHR ? "a device" : nullptr;
    What.Size = What.Regular ? static_cast<uint64_t>(Status.st_size) : 0;
    return true;
}

std::FILE* StreamOf(int iFile) {
    return _wfdopen(iFile, L"rb");
}

void CloseDescriptor(int iFile) {
    _close(iFile);
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
// Non-blocking, so that a FIFO without a writer opens at once instead of waiting for one; no
// terminal a device might be becomes the program's own.
int OpenDescriptor(const std::filesystem::path& FilePath) {
    return ::open(FilePath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool Describe(int iFile, tDescribed& What) {
    struct stat Status {};
    if (::fstat(iFile, &Status) != 0) {
        return false;
    }
    What.Regular = S_ISREG(Status.st_mode);
    What.Folder = S_ISDIR(Status.st_mode);
    What.Kind = S_ISFIFO(Status.st_mode)                             ? "a FIFO"
                : S_ISCHR(Status.st_mode) || S_ISBLK(Status.st_mode) ? "a device"
                : S_ISSOCK(Status.st_mode)                           ? "a socket"
                                                                     : nullptr;
    What.Size = What.Regular ? static_cast<uint64_t>(Status.st_size) : 0;
    return true;
}

// A regular file reads the same either way; the flag goes so that reads are ordinary ones.
std::FILE* StreamOf(int iFile) {
    const int iFlags = ::fcntl(iFile, F_GETFL);
    if (iFlags < 0 || ::fcntl(iFile, F_SETFL, iFlags & ~O_NONBLOCK) != 0) {
        return nullptr;
    }
    return ::fdopen(iFile, "rb");
}

void CloseDescriptor(int iFile) {
    ::close(iFile);
}

// "x" is the C library's exclusive mode: the file is created only if nothing has the name.
std::FILE* OpenNew(const std::filesystem::path& FilePath) {
    return std::fopen(FilePath.c_str(), "wbx");
}
#endif

}  // namespace

cReadFile::cReadFile(cReadFile&& Other) noexcept
    : pFile(std::exchange(Other.pFile, nullptr)),
      ByteSize(Other.ByteSize),
      iErrno(Other.iErrno),
      FileKind(Other.FileKind) {}

cReadFile& cReadFile::operator=(cReadFile&& Other) noexcept {
    if (this != &Other) {
        if (pFile != nullptr) {
            std::fclose(pFile);
        }
        pFile = std::exchange(Other.pFile, nullptr);
        ByteSize = Other.ByteSize;
        iErrno = Other.iErrno;
        FileKind = Other.FileKind;
    }
    return *this;
}

cReadFile::~cReadFile() {
    if (pFile != nullptr) {
        std::fclose(pFile);
    }
}

std::string cReadFile::FailureText() const {
    if (FileKind != nullptr) {
        return std::string("the file is ") + FileKind + ", not a regular file";
    }
    return SystemErrorText(iErrno != 0 ? iErrno : EIO);
}

cReadFile OpenRegularFile(const std::filesystem::path& FilePath) {
    cReadFile Opened;
    errno = 0;
    const int iFile = OpenDescriptor(FilePath);
    if (iFile < 0) {
        Opened.iErrno = errno != 0 ? errno : EIO;
        return Opened;
    }
    tDescribed What;
    if (!Describe(iFile, What) || !What.Regular) {
        Opened.iErrno = What.Folder ? EISDIR : errno != 0 ? errno : EIO;
        Opened.FileKind = What.Folder ? nullptr : What.Kind;
        CloseDescriptor(iFile);
        return Opened;
    }
    Opened.pFile = StreamOf(iFile);
    if (Opened.pFile == nullptr) {
        Opened.iErrno = errno != 0 ? errno : EIO;
        CloseDescriptor(iFile);
        return Opened;
    }
    Opened.ByteSize = What.Size;
    return Opened;
}

std::FILE* CreateNewFile(const std::filesystem::path& FilePath) {
    return OpenNew(FilePath);
}

std::string SystemErrorText(int iErrno) {
    return std::generic_category().message(iErrno);
}
