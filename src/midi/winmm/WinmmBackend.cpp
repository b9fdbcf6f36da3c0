#include "midi/winmm/WinmmBackend.h"

#include <chrono>
#include <string>
#include <thread>

#include "midi/MidiErrorText.h"

namespace {

// How often, and how long apart, the backend's end tries to close a device that still holds a
// buffer that the services are handing back.
constexpr int kClosePolls = 100;
constexpr auto kClosePoll = std::chrono::milliseconds(10);

template <typename tDevice>
void CloseWhenFree(tDevice& Device) {
    for (int i = 0; i < kClosePolls && Device.Close() == MIDIERR_STILLPLAYING; ++i) {
        std::this_thread::sleep_for(kClosePoll);
    }
}

constexpr tWinmmSide WinmmSide(tMidiSide eSide) {
    return eSide == MIDI_SIDE_IN ? WINMM_INPUT : WINMM_OUTPUT;
}

}  // namespace

cWinmmBackend::~cWinmmBackend() {
    for (const auto& pDevice : OpenIns.RemoveAll()) {
        pDevice->Reset();
        CloseWhenFree(*pDevice);
    }
    for (const auto& pDevice : OpenOuts.RemoveAll()) {
        CloseWhenFree(*pDevice);
    }
}

uint32_t cWinmmBackend::CountDevices(tMidiSide eSide) {
    return WinmmCount(WinmmSide(eSide));
}

template <typename tCaps>
MMRESULT cWinmmBackend::GetCaps(tMidiSide eSide, uint32_t uDeviceID, tCaps* pCaps,
                                uint32_t cbCaps) {
    if (uDeviceID == kWinmmMidiMapper) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pCaps == nullptr || cbCaps < sizeof(tCaps)) {
        return MMSYSERR_INVALPARAM;
    }
    return WinmmName(WinmmSide(eSide), uDeviceID, pCaps->szPname, MAXPNAMELEN);
}

template <typename tHandle, typename tCallback>
MMRESULT cWinmmBackend::OpenDevice(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback,
                                   uintptr_t dwInstance) {
    if (uDeviceID == kWinmmMidiMapper) {
        return MMSYSERR_BADDEVICEID;
    }
    return Table<tHandle>().Open(phDevice, pCallback, dwInstance,
                                 [&](auto& Device) { return Device.Open(uDeviceID); });
}

MMRESULT cWinmmBackend::GetErrorText(tMidiSide eSide, MMRESULT mmrError, char* pszText,
                                     uint32_t cchText) {
    if (pszText == nullptr || cchText == 0) {
        return MMSYSERR_INVALPARAM;
    }
    std::string Text;
    const MMRESULT eKnown = WinmmErrorText(WinmmSide(eSide), mmrError, Text);
    const MMRESULT eCopied = CopyMidiErrorText(Text, pszText, cchText);
    return eKnown != MMSYSERR_NOERROR ? eKnown : eCopied;
}

template class cHandleBackend<cWinmmBackend, cWinmmOutDevice, cWinmmInDevice>;
