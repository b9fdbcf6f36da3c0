#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Songs of one transfer that get the same name on the device, where the later overwrites the
// earlier. The same file sent twice is no clash: it overwrites itself.
struct tNameClash {
    std::string DeviceName;
    std::vector<std::filesystem::path> Songs;  // two or more different files, in transfer order
};

std::vector<tNameClash> FindNameClashes(const std::vector<std::filesystem::path>& Songs);
// One line per clash: "a.mid and b.mid get the same name on the device, "ABC"".
std::string DescribeNameClashes(const std::vector<tNameClash>& Clashes);
