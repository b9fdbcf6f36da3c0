#include "app/DeviceMatch.h"

#include <cctype>

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The digits that end Text before position uiEnd: where they start.
size_t StartOfDigits(const std::string& Text, size_t uiEnd) {
    while (uiEnd > 0 && IsDigit(Text[uiEnd - 1])) {
        --uiEnd;
    }
    return uiEnd;
}

bool SameDevice(const std::string& First, const std::string& Second) {
    return DeviceNameWithoutAddress(First) == DeviceNameWithoutAddress(Second);
}

}  // namespace

bool IsSoftwareSynth(const std::string& Name) {
    return Name.find(kSoftwareSynthName) != std::string::npos;
}

int32_t FindSavedDevice(int32_t iIndex, const std::string& Name,
                        const std::vector<std::string>& Names) {
    const bool bIndexValid = iIndex >= 0 && static_cast<size_t>(iIndex) < Names.size();
    if (Name.empty()) {
        return bIndexValid ? iIndex : -1;
    }
    if (bIndexValid && SameDevice(Names[static_cast<size_t>(iIndex)], Name)) {
        return iIndex;
    }
    return FindDeviceByName(Names, Name).iIndex;
}

std::string DeviceNameAt(const std::vector<std::string>& Names, int32_t iIndex) {
    return iIndex >= 0 && static_cast<size_t>(iIndex) < Names.size()
               ? Names[static_cast<size_t>(iIndex)]
               : std::string();
}

std::string DeviceNameWithoutAddress(const std::string& Name) {
    const size_t uiPortDigits = StartOfDigits(Name, Name.size());
    if (uiPortDigits == Name.size() || uiPortDigits == 0 || Name[uiPortDigits - 1] != ':') {
        return Name;
    }
    const size_t uiClientDigits = StartOfDigits(Name, uiPortDigits - 1);
    if (uiClientDigits == uiPortDigits - 1 || uiClientDigits == 0 ||
        Name[uiClientDigits - 1] != ' ') {
        return Name;
    }
    return Name.substr(0, uiClientDigits - 1);
}

tDeviceLookup FindDeviceByName(const std::vector<std::string>& Names, const std::string& Name) {
    tDeviceLookup Lookup;
    for (size_t i = 0; i < Names.size(); ++i) {
        if (!SameDevice(Names[i], Name)) {
            continue;
        }
        if (Lookup.iIndex >= 0) {
            Lookup.bShared = true;
            break;
        }
        Lookup.iIndex = static_cast<int32_t>(i);
    }
    return Lookup;
}

tDevicePair ChooseSavedDevices(const tSavedSettings& Saved, const std::vector<std::string>& InNames,
                               const std::vector<std::string>& OutNames) {
    if (InNames.empty() || OutNames.empty()) {
        return {};
    }
    const tDevicePair Pair{FindSavedDevice(Saved.iInPort, Saved.InName, InNames),
                           FindSavedDevice(Saved.iOutPort, Saved.OutName, OutNames)};
    if (IsSoftwareSynth(DeviceNameAt(OutNames, Pair.iOutPort))) {
        return {};
    }
    return Pair;
}

tSavedSettings SettingsToSave(const tDevicePair& Pair, const std::vector<std::string>& InNames,
                              const std::vector<std::string>& OutNames, bool bMergeTracks) {
    tSavedSettings Saved;
    Saved.iInPort = Pair.iInPort;
    Saved.iOutPort = Pair.iOutPort;
    Saved.InName = DeviceNameAt(InNames, Pair.iInPort);
    Saved.OutName = DeviceNameAt(OutNames, Pair.iOutPort);
    Saved.bMergeTracks = bMergeTracks;
    return Saved;
}
