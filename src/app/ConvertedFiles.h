#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A converted file that stayed on disk, and the system's reason.
struct tUndeletedFile {
    std::filesystem::path Path;
    std::string Reason;
};

// Deletes the converted x10 files; one that cannot be deleted does not keep the others, and is
// listed with its reason. Files already gone count as deleted; empty paths are passed over.
std::vector<tUndeletedFile> DeleteConvertedFiles(
    const std::vector<std::filesystem::path>& X10Paths);
