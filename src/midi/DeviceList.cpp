#include "midi/DeviceList.h"

#include "midi/DeviceName.h"
#include "midi/MidiBackend.h"

namespace {

// A device whose name cannot be had (gone since it was counted) gets an empty name.
template <typename tCaps, typename tGetCaps>
std::vector<std::string> NamesOf(uint32_t uiCount, tGetCaps GetCaps) {
    std::vector<std::string> Names;
    for (uint32_t i = 0; i < uiCount; ++i) {
        tCaps Caps{};
        Names.push_back(GetCaps(i, Caps) == MMSYSERR_NOERROR ? DeviceNameToUtf8(Caps.szPname)
                                                             : std::string());
    }
    return Names;
}

}  // namespace

std::vector<std::string> MidiOutDeviceNames() {
    iMidiBackend& Backend = MidiBackend();
    return NamesOf<MIDIOUTCAPSW>(Backend.midiOutGetNumDevs(), [&](uint32_t i, MIDIOUTCAPSW& Caps) {
        return Backend.midiOutGetDevCapsW(i, &Caps, sizeof Caps);
    });
}

std::vector<std::string> MidiInDeviceNames() {
    iMidiBackend& Backend = MidiBackend();
    return NamesOf<MIDIINCAPSW>(Backend.midiInGetNumDevs(), [&](uint32_t i, MIDIINCAPSW& Caps) {
        return Backend.midiInGetDevCapsW(i, &Caps, sizeof Caps);
    });
}
