#include "app/SongBatch.h"

#include <system_error>
#include <utility>

bool IsLargeSong(const std::filesystem::path& Song) {
    std::error_code Error;
    const uintmax_t uiBytes = std::filesystem::file_size(Song, Error);
    return !Error && uiBytes > kLargeSongBytes;
}

std::optional<tBatchRefusal> VetSongBatch(
    const std::vector<std::filesystem::path>& Batch, bool bMergeTracks,
    const std::function<bool(const std::filesystem::path&)>& AcceptLargeSong) {
    for (size_t i = Batch.size(); i-- > 0;) {
        if (IsLargeSong(Batch[i]) && !AcceptLargeSong(Batch[i])) {
            return tBatchRefusal{i, true, {}};
        }
        tSongVetting Vetting = VetSongForDevice(Batch[i], bMergeTracks);
        if (!Vetting.bAccepted) {
            return tBatchRefusal{i, false, std::move(Vetting)};
        }
    }
    return std::nullopt;
}
