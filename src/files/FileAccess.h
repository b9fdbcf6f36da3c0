#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// The ways the program opens files through the C library, with the platform's own characters
// for the name.

// A file opened for reading, or why not. Owns the open file.
class cReadFile {
  public:
    cReadFile() = default;
    cReadFile(const cReadFile&) = delete;
    cReadFile& operator=(const cReadFile&) = delete;
    cReadFile(cReadFile&& Other) noexcept;
    cReadFile& operator=(cReadFile&& Other) noexcept;
    ~cReadFile();

    std::FILE* File() const { return pFile; }
    explicit operator bool() const { return pFile != nullptr; }
    uint64_t Size() const { return ByteSize; }
    // Why it is not open: the system's reason, or what the file is instead of a regular file.
    int Errno() const { return iErrno; }
    const char* Kind() const { return FileKind; }
    // "the file is a FIFO, not a regular file", or the system's text ("No such file or
    // directory"); a folder gives the system's "Is a directory".
    std::string FailureText() const;

  private:
    friend cReadFile OpenRegularFile(const std::filesystem::path& FilePath);

    std::FILE* pFile = nullptr;
    uint64_t ByteSize = 0;
    int iErrno = 0;
    const char* FileKind = nullptr;  // "a FIFO", "a device", "a socket"; null otherwise
};

// Opens a regular file for reading without ever waiting on it: a FIFO with no writer (or a
// device) would hold an ordinary open for ever, so the file is opened non-blocking and its
// type is checked on the open file, not by name beforehand, where it could change in between.
// Anything but a regular file is refused and closed again unread.
cReadFile OpenRegularFile(const std::filesystem::path& FilePath);

// Creates a file that does not exist yet; fails if the name is taken, even by a symbolic link,
// which is never followed. Sets errno on failure.
std::FILE* CreateNewFile(const std::filesystem::path& FilePath);

// The system's text for an errno value ("No such file or directory").
std::string SystemErrorText(int iErrno);
