#pragma once

#include <filesystem>
#include <vector>

#include "app/TransferSettings.h"

struct tPreparedSongs;

// What one transfer of several songs needs: the settings (devices, pacing, mode, input blocks;
// with the monitor flag the run produces the monitor's port text before each step) and the
// songs (source paths and converted x10 paths, same index; an empty x10 path is a song that
// did not convert and is skipped).
struct tTransferPlan {
    tTransferSettings Settings;
    std::vector<std::filesystem::path> SongPaths;
    std::vector<std::filesystem::path> X10Paths;
};

// The plan for sending prepared songs in their order; a song that was not converted keeps its
// place (the progress counts it) and is skipped.
tTransferPlan MakeTransferPlan(const tTransferSettings& Settings, const tPreparedSongs& Songs);
