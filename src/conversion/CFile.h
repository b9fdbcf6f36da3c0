#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The two ways this layer opens files through the C library, with the platform's own
// characters for the name. Both set errno on failure.
std::FILE* OpenFileForReading(const std::filesystem::path& FilePath);
// Creates a file that does not exist yet; fails if the name is taken, even by a symbolic link,
// which is never followed.
std::FILE* CreateNewFile(const std::filesystem::path& FilePath);

// The system's text for an errno value ("No such file or directory").
std::string SystemErrorText(int iErrno);
