#include "app/DuplicateSongs.h"

#include <map>
#include <system_error>

namespace {

bool SameFile(const std::filesystem::path& First, const std::filesystem::path& Second) {
    std::error_code Error;
    const bool bSame = std::filesystem::equivalent(First, Second, Error);
    return Error ? First == Second : bSame;
}

// Only files of one size can be the same file: each song is looked at once, and only songs of
// one size are compared, so that a long list is not compared pair by pair.
std::map<uintmax_t, std::vector<size_t>> RowsBySize(
    const std::vector<std::filesystem::path>& Songs) {
    std::map<uintmax_t, std::vector<size_t>> Rows;
    for (size_t i = 0; i < Songs.size(); ++i) {
        std::error_code Error;
        const uintmax_t uiSize = std::filesystem::file_size(Songs[i], Error);
        Rows[Error ? UINTMAX_MAX : uiSize].push_back(i);
    }
    return Rows;
}

std::string Note(const std::vector<size_t>& OtherRows) {
    std::string Text = OtherRows.size() == 1 ? "also in row " : "also in rows ";
    for (size_t i = 0; i < OtherRows.size(); ++i) {
        Text += (i == 0 ? "" : ", ") + std::to_string(OtherRows[i] + 1);
    }
    return Text;
}

}  // namespace

std::vector<std::string> DuplicateNotes(const std::vector<std::filesystem::path>& Songs) {
    std::vector<std::vector<size_t>> OtherRows(Songs.size());
    for (const auto& [uiSize, Rows] : RowsBySize(Songs)) {
        for (size_t i = 0; i < Rows.size(); ++i) {
            for (size_t j = i + 1; j < Rows.size(); ++j) {
                if (SameFile(Songs[Rows[i]], Songs[Rows[j]])) {
                    OtherRows[Rows[i]].push_back(Rows[j]);
                    OtherRows[Rows[j]].push_back(Rows[i]);
                }
            }
        }
    }
    std::vector<std::string> Notes(Songs.size());
    for (size_t uiRow = 0; uiRow < Songs.size(); ++uiRow) {
        if (!OtherRows[uiRow].empty()) {
            Notes[uiRow] = Note(OtherRows[uiRow]);
        }
    }
    return Notes;
}
