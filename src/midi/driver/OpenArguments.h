#pragma once

#include "midi/MidiPlatform.h"

// What the services ask of an open call before they look at the device: somewhere to put the
// handle (cleared here, so a failed open leaves no handle behind) and a function callback.
template <typename tHandle>
MMRESULT CheckOpenArguments(tHandle* phDevice, uint32_t fdwOpen) {
    if (phDevice == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *phDevice = tHandle{};
    return fdwOpen == CALLBACK_FUNCTION ? MMSYSERR_NOERROR : MMSYSERR_INVALFLAG;
}
