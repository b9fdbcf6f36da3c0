#pragma once

#include <string>

#include "app/DeviceMatch.h"
#include "app/SettingsFile.h"
#include "app/TransferPlan.h"

// The device choice the main window holds: the chosen devices' indices in the lists read last
// (-1: none present) and their names, which are kept while a device is missing, so that the
// device is chosen again, found by its name, once it is back.
struct tChosenDevices {
    tDevicePair Pair;
    std::string InName;  // empty: nothing chosen
    std::string OutName;
};

// At start-up, from the file and the devices present, as ChooseSavedDevices finds them; a
// device that is missing keeps its saved name. A saved software synthesizer leaves nothing
// chosen.
tChosenDevices ChosenDevicesAtStart(const tSavedSettings& Saved, const tDeviceLists& Devices);

// The same choice in device lists read afresh (when the device dialog opens): each chosen device
// found again by its name, -1 while it is missing.
tChosenDevices ChosenDevicesIn(const tChosenDevices& Chosen, const tDeviceLists& Devices);

// After the device dialog, which showed Devices: ended with OK, each kind picked (an index in
// its list) becomes the choice of its kind; a kind with no pick (-1), and both when the dialog
// ended otherwise, stay chosen as before, names and all.
tChosenDevices ChosenDevicesAfterDialog(const tChosenDevices& Chosen, bool bOk,
                                        const tDevicePair& Picked, const tDeviceLists& Devices);

// The settings to write with the choice in them: the indices (-1 for a device missing now) and
// the names; the other settings as Others holds them.
tSavedSettings WithChosenDevices(tSavedSettings Others, const tChosenDevices& Chosen);
