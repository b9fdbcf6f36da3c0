#include "app/OutputFile.h"

#include <system_error>

#include "app/Utf8Path.h"
#include "files/FileByRename.h"

namespace {

// As many links as the system itself follows before it gives up on a path.
constexpr int kMostLinks = 40;

// The file a write to Target lands in: the target itself, or what its symbolic links name.
// A target that does not exist yet is its own file; links that never end in one are a loop.
// (The x10 files replace a link at their name instead: they are the program's own; an output
// file is the user's.)
std::filesystem::path Resolved(const std::filesystem::path& Target, std::error_code& Error) {
    std::filesystem::path Path = Target;
    for (int i = 0; i < kMostLinks; ++i) {
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
    Error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

// Whether File is Source itself: the same file, by device and file number, whatever the names.
bool IsSameFile(const std::filesystem::path& File, const std::filesystem::path& Source) {
    std::error_code Error;  // a target that does not exist yet is no other file
    return std::filesystem::equivalent(File, Source, Error) && !Error;
}

}  // namespace

std::string WriteOutputFile(const std::filesystem::path& Target, const std::vector<uint8_t>& Bytes,
                            const std::filesystem::path& Source) {
    return WriteOutputFile(Target, WriterOf(Bytes), Source);
}

tOutputWriter WriterOf(const std::vector<uint8_t>& Bytes) {
    return [&Bytes](std::FILE* pFile) {
        return std::fwrite(Bytes.data(), 1, Bytes.size(), pFile) == Bytes.size();
    };
}

std::string WriteOutputFile(const std::filesystem::path& Target, const tOutputWriter& Write,
                            const std::filesystem::path& Source) {
    const std::string Name = PathToUtf8(Target);
    std::error_code Error;
    const std::filesystem::path File = Resolved(Target, Error);
    if (Error == std::errc::too_many_symbolic_link_levels) {
        return Name + ": not a regular file (" + Error.message() + "); nothing was written";
    }
    if (Error) {
        return Name + ": cannot follow the link: " + Error.message();
    }
    const std::filesystem::file_status Status = std::filesystem::status(File, Error);
    if (Error && Status.type() != std::filesystem::file_type::not_found) {
        return Name + ": cannot look at it: " + Error.message() + "; nothing was written";
    }
    if (std::filesystem::exists(Status) && !std::filesystem::is_regular_file(Status)) {
        return Name + ": not a regular file; nothing was written";
    }
    if (IsSameFile(File, Source)) {
        return Name + ": is the song " + PathToUtf8(Source) + " itself; nothing was written";
    }
    if (!WriteFileByRename(File, Write, Error)) {
        return Name + ": cannot write it: " + Error.message();
    }
    return {};
}
