#pragma once

#include <filesystem>
#include <string>
#include <vector>

// For each row of the song list, in the order shown: "also in row 3" when other rows hold the
// same file ("also in rows 2, 5" for more; rows counted from 1), empty otherwise. The same file
// is the same device and inode (std::filesystem::equivalent), however it is named; a song that
// cannot be looked at is compared by its path alone.
std::vector<std::string> DuplicateNotes(const std::vector<std::filesystem::path>& Songs);
