#include "midi/winmm/WinmmBackend.h"

#include <chrono>
#include <string>
#include <thread>

#include "midi/MidiErrorText.h"
#include "midi/driver/OpenArguments.h"

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

template <typename tCaps>
MMRESULT FillCaps(tWinmmSide eSide, uint32_t uDeviceID, tCaps* pCaps, uint32_t cbCaps) {
    if (uDeviceID == kWinmmMidiMapper) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pCaps == nullptr || cbCaps < sizeof(tCaps)) {
        return MMSYSERR_INVALPARAM;
    }
    return WinmmName(eSide, uDeviceID, pCaps->szPname, MAXPNAMELEN);
}

// Opens device uDeviceID as a new entry of Table.
template <typename tHandle, typename tDevice>
MMRESULT OpenDevice(cHandleTable<tHandle, tDevice>& Table, tHandle* phDevice, uint32_t uDeviceID,
                    typename tDevice::tCallback pCallback, uintptr_t dwInstance, uint32_t fdwOpen) {
    const MMRESULT eArguments = CheckOpenArguments(phDevice, fdwOpen);
    if (eArguments != MMSYSERR_NOERROR) {
        return eArguments;
    }
    if (uDeviceID == kWinmmMidiMapper) {
        return MMSYSERR_BADDEVICEID;
    }
    return Table.Open(phDevice, pCallback, dwInstance,
                      [&](tDevice& Device) { return Device.Open(uDeviceID); });
}

MMRESULT CopyErrorText(tWinmmSide eSide, MMRESULT mmrError, char* pszText, uint32_t cchText) {
    if (pszText == nullptr || cchText == 0) {
        return MMSYSERR_INVALPARAM;
    }
    std::string Text;
    const MMRESULT eKnown = WinmmErrorText(eSide, mmrError, Text);
    const MMRESULT eCopied = CopyMidiErrorText(Text, pszText, cchText);
    return eKnown != MMSYSERR_NOERROR ? eKnown : eCopied;
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

// Output

uint32_t cWinmmBackend::midiOutGetNumDevs() {
    return WinmmCount(WINMM_OUTPUT);
}

MMRESULT cWinmmBackend::midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps,
                                           uint32_t cbCaps) {
    return FillCaps(WINMM_OUTPUT, uDeviceID, pCaps, cbCaps);
}

MMRESULT cWinmmBackend::midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID, tMidiOutProc pCallback,
                                    uintptr_t dwInstance, uint32_t fdwOpen) {
    return OpenDevice(OpenOuts, phMidiOut, uDeviceID, pCallback, dwInstance, fdwOpen);
}

MMRESULT cWinmmBackend::midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                             uint32_t cbHeader) {
    return OpenOuts.With(hMidiOut, &cWinmmOutDevice::Prepare, pHeader, cbHeader);
}

MMRESULT cWinmmBackend::midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenOuts.With(hMidiOut, &cWinmmOutDevice::Queue, pHeader, cbHeader);
}

MMRESULT cWinmmBackend::midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                               uint32_t cbHeader) {
    return OpenOuts.With(hMidiOut, &cWinmmOutDevice::Unprepare, pHeader, cbHeader);
}

MMRESULT cWinmmBackend::midiOutClose(HMIDIOUT hMidiOut) {
    return OpenOuts.Close(hMidiOut);
}

MMRESULT cWinmmBackend::midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) {
    return CopyErrorText(WINMM_OUTPUT, mmrError, pszText, cchText);
}

// Input

uint32_t cWinmmBackend::midiInGetNumDevs() {
    return WinmmCount(WINMM_INPUT);
}

MMRESULT cWinmmBackend::midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps, uint32_t cbCaps) {
    return FillCaps(WINMM_INPUT, uDeviceID, pCaps, cbCaps);
}

MMRESULT cWinmmBackend::midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                                   uintptr_t dwInstance, uint32_t fdwOpen) {
    return OpenDevice(OpenIns, phMidiIn, uDeviceID, pCallback, dwInstance, fdwOpen);
}

MMRESULT cWinmmBackend::midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenIns.With(hMidiIn, &cWinmmInDevice::Prepare, pHeader, cbHeader);
}

MMRESULT cWinmmBackend::midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenIns.With(hMidiIn, &cWinmmInDevice::Queue, pHeader, cbHeader);
}

MMRESULT cWinmmBackend::midiInStart(HMIDIIN hMidiIn) {
    return OpenIns.With(hMidiIn, &cWinmmInDevice::Start);
}

MMRESULT cWinmmBackend::midiInReset(HMIDIIN hMidiIn) {
    return OpenIns.With(hMidiIn, &cWinmmInDevice::Reset);
}

MMRESULT cWinmmBackend::midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                              uint32_t cbHeader) {
    return OpenIns.With(hMidiIn, &cWinmmInDevice::Unprepare, pHeader, cbHeader);
}

MMRESULT cWinmmBackend::midiInClose(HMIDIIN hMidiIn) {
    return OpenIns.Close(hMidiIn);
}

MMRESULT cWinmmBackend::midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) {
    return CopyErrorText(WINMM_INPUT, mmrError, pszText, cchText);
}
