#include "app/TransferPlan.h"

#include "app/SongPreparation.h"

tTransferPlan MakeTransferPlan(const tTransferSettings& Settings, const tPreparedSongs& Songs) {
    tTransferPlan Plan;
    Plan.Settings = Settings;
    for (const tPreparedSong& Song : Songs.Songs) {
        Plan.SongPaths.push_back(Song.SongPath);
        Plan.X10Paths.push_back(Song.X10Path);
    }
    return Plan;
}
