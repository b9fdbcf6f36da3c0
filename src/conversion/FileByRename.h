#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>

// The work file beside a target: "." + its name + ".part", e.g. ".Song.midx10.part".
std::filesystem::path PartFilePath(const std::filesystem::path& Target);

// Removes the work file of a target left by an interrupted run; a link there is removed, never
// followed. True when there is none any more.
bool RemovePartFile(const std::filesystem::path& Target, std::error_code& Error);

// Writes bytes to WorkFile, made new (a name already taken, even by a link, fails), and renames
// it over Target once it is complete; on failure WorkFile is removed again and Error holds the
// system's reason. Target holds its old content or the new, never part of it.
bool WriteThenRename(const std::filesystem::path& WorkFile, const std::filesystem::path& Target,
                     const uint8_t* pucBytes, size_t uiCount, std::error_code& Error);

// Writes bytes to a file by way of its work file, which is renamed into place only once it is
// complete: the target holds its old content or the new, never part of it, and a symbolic link
// at the target is replaced, never followed. A stale work file is removed first; on failure the
// work file is removed and Error holds the system's reason.
bool WriteFileByRename(const std::filesystem::path& Target, const uint8_t* pucBytes, size_t uiCount,
                       std::error_code& Error);
