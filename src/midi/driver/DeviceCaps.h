#pragma once

#include <string>

#include "midi/DeviceName.h"
#include "midi/MidiPlatform.h"

// Fills a capabilities record (MIDIOUTCAPSW or MIDIINCAPSW) as the services do: pName is the
// device's name, null when there is no device of the number asked for.
template <typename tCaps>
MMRESULT FillDeviceCaps(const std::string* pName, tCaps* pCaps, uint32_t cbCaps) {
    if (pName == nullptr) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pCaps == nullptr || cbCaps < sizeof(tCaps)) {
        return MMSYSERR_INVALPARAM;
    }
    CopyDeviceName(*pName, pCaps->szPname);
    return MMSYSERR_NOERROR;
}
