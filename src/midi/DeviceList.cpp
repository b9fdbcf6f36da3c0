#include "midi/DeviceList.h"

#include <cstdint>

#include "midi/DeviceName.h"
#include "midi/MidiBackend.h"

namespace {

template <typename tCaps, typename tGetCaps>
std::vector<std::string> DeviceNames(uint32_t uiCount, tGetCaps GetCaps) {
    std::vector<std::string> Names;
    Names.reserve(uiCount);
    for (uint32_t i = 0; i < uiCount; ++i) {
        tCaps Caps{};
        Names.push_back(GetCaps(i, &Caps, sizeof(Caps)) == MMSYSERR_NOERROR
                            ? DeviceNameToUtf8(Caps.szPname)
                            : std::string());
    }
    return Names;
}

}  // namespace

std::vector<std::string> MidiOutDeviceNames() {
    iMidiBackend& Backend = MidiBackend();
    return DeviceNames<MIDIOUTCAPSW>(Backend.midiOutGetNumDevs(),
                                     [&](uint32_t i, MIDIOUTCAPSW* pCaps, uint32_t cbCaps) {
                                         return Backend.midiOutGetDevCapsW(i, pCaps, cbCaps);
                                     });
}

std::vector<std::string> MidiInDeviceNames() {
    iMidiBackend& Backend = MidiBackend();
    return DeviceNames<MIDIINCAPSW>(Backend.midiInGetNumDevs(),
                                    [&](uint32_t i, MIDIINCAPSW* pCaps, uint32_t cbCaps) {
                                        return Backend.midiInGetDevCapsW(i, pCaps, cbCaps);
                                    });
}
