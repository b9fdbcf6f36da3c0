#include "midi/rtmidi/RtMidiApiChoice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

bool IsCompiled(const std::vector<RtMidi::Api>& Apis, RtMidi::Api eApi) {
    return std::find(Apis.begin(), Apis.end(), eApi) != Apis.end();
}

// Without the sequencer's device node there is no point in asking ALSA, which would only fill
// stderr with its complaints before RtMidi throws.
bool AlsaSequencerOpens() {
    std::error_code Error;
    if (!std::filesystem::exists("/dev/snd/seq", Error)) {
        return false;
    }
    try {
        RtMidiIn Probe(RtMidi::LINUX_ALSA, "SongLoader probe");
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

RtMidi::Api ChooseMidiApi() {
    std::vector<RtMidi::Api> Apis;
    RtMidi::getCompiledApi(Apis);
    if (IsCompiled(Apis, RtMidi::LINUX_ALSA) && AlsaSequencerOpens()) {
        return RtMidi::LINUX_ALSA;
    }
    if (IsCompiled(Apis, RtMidi::UNIX_JACK)) {
        return RtMidi::UNIX_JACK;
    }
    for (const RtMidi::Api eApi : Apis) {
        if (eApi != RtMidi::LINUX_ALSA && eApi != RtMidi::RTMIDI_DUMMY) {
            return eApi;
        }
    }
    return RtMidi::RTMIDI_DUMMY;
}
