#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/SettingsFile.h"

// Finding a device again by its name. Device numbers change when devices are plugged in
// another order, so a saved index alone may name another device; the name says which one the
// user chose. Names are compared without the "client:port" address that ALSA puts at their end
// ("128:0"), which changes exactly when devices are plugged in another order.
std::string DeviceNameWithoutAddress(const std::string& Name);

// Where the device of that name is now: the first device of that name, or -1 when there is
// none; bShared when more than one device has it.
struct tDeviceLookup {
    int32_t iIndex = -1;
    bool bShared = false;
};
tDeviceLookup FindDeviceByName(const std::vector<std::string>& Names, const std::string& Name);

// The name of device iIndex of the list, or an empty name for -1 or an index past it.
std::string DeviceNameAt(const std::vector<std::string>& Names, int32_t iIndex);

// A software synthesizer is never accepted as a saved output device.
inline constexpr const char* kSoftwareSynthName = "Wavetable SW Synth";
bool IsSoftwareSynth(const std::string& Name);

// Where a device saved as iIndex under Name is among Names: the index stands when it names a
// device and no name was saved, or the device there has that name; otherwise the name decides,
// and a name that no device has gives -1.
int32_t FindSavedDevice(int32_t iIndex, const std::string& Name,
                        const std::vector<std::string>& Names);

struct tDevicePair {
    int32_t iInPort = -1;
    int32_t iOutPort = -1;
};

// The saved choice among the devices present now, each found by FindSavedDevice. With no device
// of either kind there is none. A chosen output that IsSoftwareSynth clears both.
tDevicePair ChooseSavedDevices(const tSavedSettings& Saved, const std::vector<std::string>& InNames,
                               const std::vector<std::string>& OutNames);

// What the file keeps: the indices and the chosen devices' names, and the merge option.
tSavedSettings SettingsToSave(const tDevicePair& Pair, const std::vector<std::string>& InNames,
                              const std::vector<std::string>& OutNames, bool bMergeTracks);
