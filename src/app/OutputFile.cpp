#include "app/OutputFile.h"

#include <random>
#include <system_error>

#include "app/Utf8Path.h"
#include "conversion/FileByRename.h"

namespace {

// The file a write to Target lands in: the target itself, or what its symbolic links name.
// A target that does not exist yet is its own file. (The x10 files replace a link at their
// name instead: they are the program's own; an output file is the user's.)
std::filesystem::path Resolved(const std::filesystem::path& Target, std::error_code& Error) {
    std::filesystem::path Path = Target;
    for (int i = 0; i < 40; ++i) {
        const std::filesystem::file_status Status = std::filesystem::symlink_status(Path, Error);
        if (Status.type() != std::filesystem::file_type::symlink) {
            Error.clear();
            return Path;
        }
        const std::filesystem::path Link = std::filesystem::read_symlink(Path, Error);
        if (Error) {
            return {};
        }
        Path = Link.is_absolute() ? Link : Path.parent_path() / Link;
    }
    return Path;
}

// ".NAME.1a2b3c4d.part" in the file's own folder, so that the rename stays on one file system.
std::filesystem::path TemporaryBeside(const std::filesystem::path& File) {
    std::random_device Random;
    std::filesystem::path Temporary = File.parent_path() / ".";
    Temporary += File.filename();
    Temporary += "." + std::to_string(Random()) + ".part";
    return Temporary;
}

}  // namespace

std::string WriteOutputFile(const std::filesystem::path& Target,
                            const std::vector<uint8_t>& Bytes) {
    const std::string Name = PathToUtf8(Target);
    std::error_code Error;
    const std::filesystem::path File = Resolved(Target, Error);
    if (Error) {
        return Name + ": cannot follow the link: " + Error.message();
    }
    const std::filesystem::file_status Status = std::filesystem::status(File, Error);
    if (std::filesystem::exists(Status) && !std::filesystem::is_regular_file(Status)) {
        return Name + ": not a regular file; nothing was written";
    }
    if (!WriteThenRename(TemporaryBeside(File), File, Bytes.data(), Bytes.size(), Error)) {
        return Name + ": cannot write it: " + Error.message();
    }
    return {};
}
