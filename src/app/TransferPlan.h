#pragma once

#include <filesystem>
#include <string>
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
    // The chosen devices' names, by which they are found again before each song (device
    // numbers change when devices come and go); empty: by their numbers alone.
    std::string InDeviceName;
    std::string OutDeviceName;
};

// The devices as the user saw them when choosing: their names by index.
struct tDeviceLists {
    std::vector<std::string> InNames;
    std::vector<std::string> OutNames;
};

// The plan for sending prepared songs in their order, to the devices chosen among Devices; a
// song that was not converted keeps its place (the progress counts it) and is skipped.
tTransferPlan MakeTransferPlan(const tTransferSettings& Settings, const tPreparedSongs& Songs,
                               const tDeviceLists& Devices);
