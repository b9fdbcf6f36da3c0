#pragma once

#include "TempDir.h"
#include "emulator/TavDeviceOptions.h"

// The options of an emulated device that stores its songs in Folder.
inline tTavDeviceOptions StoringIn(const TempDir& Folder, tTavDeviceOptions Options = {}) {
    Options.StoreFolder = Folder.path();
    return Options;
}
