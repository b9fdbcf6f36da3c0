#include "WinmmNativeConstants.h"

// <windows.h> must come before <mmsystem.h>.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#define NATIVE(Name) std::pair<const std::string, uint64_t>(#Name, Name)

std::map<std::string, uint64_t> WinmmNativeConstants() {
    return {
        NATIVE(MMSYSERR_NOERROR),
        NATIVE(MMSYSERR_ERROR),
        NATIVE(MMSYSERR_BADDEVICEID),
        NATIVE(MMSYSERR_ALLOCATED),
        NATIVE(MMSYSERR_INVALHANDLE),
        NATIVE(MMSYSERR_NODRIVER),
        NATIVE(MMSYSERR_NOMEM),
        NATIVE(MMSYSERR_BADERRNUM),
        NATIVE(MMSYSERR_INVALFLAG),
        NATIVE(MMSYSERR_INVALPARAM),
        NATIVE(MIDIERR_UNPREPARED),
        NATIVE(MIDIERR_STILLPLAYING),
        NATIVE(MIDIERR_NOTREADY),
        NATIVE(MIDIERR_NODEVICE),
        NATIVE(MAXERRORLENGTH),
        NATIVE(MIM_OPEN),
        NATIVE(MIM_CLOSE),
        NATIVE(MIM_DATA),
        NATIVE(MIM_LONGDATA),
        NATIVE(MIM_ERROR),
        NATIVE(MIM_LONGERROR),
        NATIVE(MOM_OPEN),
        NATIVE(MOM_CLOSE),
        NATIVE(MOM_DONE),
        NATIVE(MIM_MOREDATA),
        NATIVE(CALLBACK_FUNCTION),
        NATIVE(MHDR_DONE),
        NATIVE(MHDR_PREPARED),
        NATIVE(MHDR_INQUEUE),
        NATIVE(MAXPNAMELEN),
        {"MIDI_MAPPER", static_cast<UINT>(MIDI_MAPPER)},
    };
}
