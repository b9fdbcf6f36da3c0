#include "app/TransferPlan.h"

#include "app/DeviceMatch.h"
#include "app/SongPreparation.h"

tTransferPlan MakeTransferPlan(const tTransferSettings& Settings, const tPreparedSongs& Songs,
                               const tDeviceLists& Devices) {
    tTransferPlan Plan;
    Plan.Settings = Settings;
    Plan.InDeviceName = DeviceNameAt(Devices.InNames, Settings.iSelectedInPort);
    Plan.OutDeviceName = DeviceNameAt(Devices.OutNames, Settings.iSelectedOutPort);
    for (const tPreparedSong& Song : Songs.Songs) {
        Plan.SongPaths.push_back(Song.SongPath);
        Plan.X10Paths.push_back(Song.X10Path);
    }
    return Plan;
}
