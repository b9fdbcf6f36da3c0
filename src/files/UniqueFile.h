#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// Creates a new file of a name that nothing else has, in Folder: Start, a random tag and End
// (".Song.midx10." "3f09a1c2" ".part"). It is created exclusively, so a name taken meanwhile
// (a file, a symbolic link) is never used, and another is drawn. Returns the file open for
// writing and sets Created to its path; null with errno set when none can be made.
std::FILE* CreateUniqueFile(const std::filesystem::path& Folder, const std::filesystem::path& Start,
                            const std::string& End, std::filesystem::path& Created);
