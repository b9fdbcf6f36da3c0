#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

// Writes bytes to a file by way of a work file of its own beside it (".Song.midx10.3f09a1c2
// d4e5b6a7.part", made new), renamed into place only once it is complete: the target holds its
// old content or the new, never part of it, and a symbolic link at the target is replaced, never
// followed. Writers of one target at the same time each have their own work file and the last
// rename wins whole; no work file but this call's own is ever touched. On failure that work
// file is removed again and Error holds the system's reason.
bool WriteFileByRename(const std::filesystem::path& Target, const uint8_t* pucBytes, size_t uiCount,
                       std::error_code& Error);
// The same, with the bytes written as they are made: Write puts them into the work file and
// says whether it could (errno holds why not).
bool WriteFileByRename(const std::filesystem::path& Target,
                       const std::function<bool(std::FILE*)>& Write, std::error_code& Error);
