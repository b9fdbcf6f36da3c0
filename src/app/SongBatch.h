#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "app/SongVetting.h"

// Songs longer than this are put to the user before they are added.
inline constexpr uintmax_t kLargeSongBytes = 100000;
// Whether the song file is longer than kLargeSongBytes; a song whose length cannot be had (gone,
// a folder) is not large: vetting refuses it.
bool IsLargeSong(const std::filesystem::path& Song);

// Why a batch of songs was not added: which song (its index in the batch), and whether the user
// declined it as too large or vetting refused it (Vetting says what it is and why).
struct tBatchRefusal {
    size_t uiSong = 0;
    bool bDeclinedAsLarge = false;
    tSongVetting Vetting;
};

// A batch of songs is added whole or not at all. Its songs are checked from the last to the
// first: a song over kLargeSongBytes is first put to AcceptLargeSong, then vetted as a song for
// the device (multi-track songs pass while merging is on); the first refusal ends the walk, so
// at most one refusal is reported. Nothing when all may be added.
std::optional<tBatchRefusal> VetSongBatch(
    const std::vector<std::filesystem::path>& Batch, bool bMergeTracks,
    const std::function<bool(const std::filesystem::path&)>& AcceptLargeSong);
