#include "app/SongFiles.h"

#include <algorithm>
#include <system_error>

#include "app/Utf8Path.h"

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The run of digits from uiAt, without its leading zeros: [start, end).
std::pair<size_t, size_t> DigitRun(const std::string& Name, size_t uiAt) {
    size_t uiEnd = uiAt;
    while (uiEnd < Name.size() && IsDigit(Name[uiEnd])) {
        ++uiEnd;
    }
    while (uiAt + 1 < uiEnd && Name[uiAt] == '0') {
        ++uiAt;
    }
    return {uiAt, uiEnd};
}

// <0, 0, >0 as First comes before, with, after Second, case and digit runs read as people do.
int CompareAsRead(const std::string& First, const std::string& Second) {
    size_t i = 0;
    size_t j = 0;
    while (i < First.size() && j < Second.size()) {
        if (IsDigit(First[i]) && IsDigit(Second[j])) {
            const auto [iStart, iEnd] = DigitRun(First, i);
            const auto [jStart, jEnd] = DigitRun(Second, j);
            if (iEnd - iStart != jEnd - jStart) {
                return iEnd - iStart < jEnd - jStart ? -1 : 1;
            }
            const int iOrder = First.compare(iStart, iEnd - iStart, Second, jStart, jEnd - jStart);
            if (iOrder != 0) {
                return iOrder;
            }
            i = iEnd;
            j = jEnd;
        } else if (Lower(First[i]) != Lower(Second[j])) {
            return static_cast<unsigned char>(Lower(First[i])) <
                           static_cast<unsigned char>(Lower(Second[j]))
                       ? -1
                       : 1;
        } else {
            ++i;
            ++j;
        }
    }
    return (i < First.size()) - (j < Second.size());
}

std::string FolderProblem(const std::filesystem::path& Folder, const std::string& Why) {
    return PathToUtf8(Folder) + Why;
}

}  // namespace

std::string SongFilePatterns() {
    std::string Patterns;
    for (const char* szExtension : kSongExtensions) {
        Patterns += (Patterns.empty() ? "*" : " *") + std::string(szExtension);
    }
    return Patterns;
}

bool HasSongExtension(const std::filesystem::path& File) {
    std::string Extension = PathToUtf8(File.extension());
    std::transform(Extension.begin(), Extension.end(), Extension.begin(), Lower);
    return std::any_of(std::begin(kSongExtensions), std::end(kSongExtensions),
                       [&Extension](const char* szSong) { return Extension == szSong; });
}

bool SongNameBefore(const std::string& First, const std::string& Second) {
    const int iOrder = CompareAsRead(First, Second);
    return iOrder != 0 ? iOrder < 0 : First < Second;
}

tDroppedSongs SongsFromDrop(const std::vector<std::filesystem::path>& Dropped) {
    tDroppedSongs Songs;
    std::filesystem::path EmptyFolder;
    for (const std::filesystem::path& Item : Dropped) {
        std::error_code Error;
        if (!std::filesystem::is_directory(Item, Error)) {
            Songs.Batch.push_back(Item);  // vetting says what it is
            continue;
        }
        std::vector<std::filesystem::path> InFolder;
        for (std::filesystem::directory_iterator Entry(Item, Error), End; !Error && Entry != End;
             Entry.increment(Error)) {
            std::error_code Ignored;
            if (Entry->is_regular_file(Ignored) && HasSongExtension(Entry->path())) {
                InFolder.push_back(Entry->path());
            }
        }
        if (Error) {
            return {{}, FolderProblem(Item, " cannot be read: " + Error.message())};
        }
        std::sort(InFolder.begin(), InFolder.end(), [](const auto& First, const auto& Second) {
            return SongNameBefore(PathToUtf8(First.filename()), PathToUtf8(Second.filename()));
        });
        if (InFolder.empty() && EmptyFolder.empty()) {
            EmptyFolder = Item;
        }
        Songs.Batch.insert(Songs.Batch.end(), InFolder.begin(), InFolder.end());
    }
    if (Songs.Batch.empty() && !EmptyFolder.empty()) {
        Songs.Problem = FolderProblem(
            EmptyFolder, " holds no MIDI file (" + SongFilePatterns() + ") directly inside it");
    }
    return Songs;
}
