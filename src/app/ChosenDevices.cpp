#include "app/ChosenDevices.h"

namespace {

// The names of the devices chosen now are those of the lists; a missing one keeps its own.
tChosenDevices Named(tChosenDevices Chosen, const tDeviceLists& Devices) {
    if (Chosen.Pair.iInPort >= 0) {
        Chosen.InName = DeviceNameAt(Devices.InNames, Chosen.Pair.iInPort);
    }
    if (Chosen.Pair.iOutPort >= 0) {
        Chosen.OutName = DeviceNameAt(Devices.OutNames, Chosen.Pair.iOutPort);
    }
    return Chosen;
}

bool IsIn(const std::vector<std::string>& Names, int32_t iIndex) {
    return iIndex >= 0 && static_cast<size_t>(iIndex) < Names.size();
}

}  // namespace

tChosenDevices ChosenDevicesAtStart(const tSavedSettings& Saved, const tDeviceLists& Devices) {
    const int32_t iSavedOut = FindSavedDevice(Saved.iOutPort, Saved.OutName, Devices.OutNames);
    if (IsSoftwareSynth(Saved.OutName) ||
        IsSoftwareSynth(DeviceNameAt(Devices.OutNames, iSavedOut))) {
        return {};
    }
    return Named(
        {ChooseSavedDevices(Saved, Devices.InNames, Devices.OutNames), Saved.InName, Saved.OutName},
        Devices);
}

tChosenDevices ChosenDevicesIn(const tChosenDevices& Chosen, const tDeviceLists& Devices) {
    return Named({{FindSavedDevice(Chosen.Pair.iInPort, Chosen.InName, Devices.InNames),
                   FindSavedDevice(Chosen.Pair.iOutPort, Chosen.OutName, Devices.OutNames)},
                  Chosen.InName,
                  Chosen.OutName},
                 Devices);
}

tChosenDevices ChosenDevicesAfterDialog(const tChosenDevices& Chosen, bool bOk,
                                        const tDevicePair& Picked, const tDeviceLists& Devices) {
    tChosenDevices After = Chosen;
    if (bOk && IsIn(Devices.InNames, Picked.iInPort)) {
        After.Pair.iInPort = Picked.iInPort;
    }
    if (bOk && IsIn(Devices.OutNames, Picked.iOutPort)) {
        After.Pair.iOutPort = Picked.iOutPort;
    }
    return Named(After, Devices);
}

tSavedSettings WithChosenDevices(tSavedSettings Others, const tChosenDevices& Chosen) {
    Others.iInPort = Chosen.Pair.iInPort;
    Others.iOutPort = Chosen.Pair.iOutPort;
    Others.InName = Chosen.InName;
    Others.OutName = Chosen.OutName;
    return Others;
}
