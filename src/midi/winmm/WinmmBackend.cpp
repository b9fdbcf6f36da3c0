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

template <typename tCaps, typename tGetName>
MMRESULT FillCaps(uint32_t uDeviceID, tCaps* pCaps, uint32_t cbCaps, tGetName GetName) {
    if (uDeviceID == kWinmmMidiMapper) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pCaps == nullptr || cbCaps < sizeof(tCaps)) {
        return MMSYSERR_INVALPARAM;
    }
    return GetName(uDeviceID, pCaps->szPname, MAXPNAMELEN);
}

template <typename tGetText>
MMRESULT CopyErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText, tGetText GetText) {
    if (pszText == nullptr || cchText == 0) {
        return MMSYSERR_INVALPARAM;
    }
    std::string Text;
    const MMRESULT eKnown = GetText(mmrError, Text);
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

template <typename tHandle, typename tDevice, typename tCallback>
MMRESULT cWinmmBackend::OpenDevice(cHandleTable<tHandle, tDevice>& Table, tHandle* phDevice,
                                   uint32_t uDeviceID, tCallback pCallback, uintptr_t dwInstance,
                                   uint32_t fdwOpen) {
    const MMRESULT eArguments = CheckOpenArguments(phDevice, fdwOpen);
    if (eArguments != MMSYSERR_NOERROR) {
        return eArguments;
    }
    if (uDeviceID == kWinmmMidiMapper) {
        return MMSYSERR_BADDEVICEID;
    }
    // The device has its handle before it opens: the open message comes during the open.
    std::shared_ptr<tDevice> pDevice;
    const tHandle hNew = Table.Add([&](tHandle hDevice) {
        pDevice = std::make_shared<tDevice>(hDevice, pCallback, dwInstance);
        return pDevice;
    });
    const MMRESULT eOpened = pDevice->Open(uDeviceID);
    if (eOpened != MMSYSERR_NOERROR) {
        Table.Remove(hNew);
        return eOpened;
    }
    *phDevice = hNew;
    return MMSYSERR_NOERROR;
}

// Output

uint32_t cWinmmBackend::midiOutGetNumDevs() {
    return WinmmOutCount();
}

MMRESULT cWinmmBackend::midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps,
                                           uint32_t cbCaps) {
    return FillCaps(uDeviceID, pCaps, cbCaps, &WinmmOutName);
}

MMRESULT cWinmmBackend::midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID, tMidiOutProc pCallback,
                                    uintptr_t dwInstance, uint32_t fdwOpen) {
    return OpenDevice(OpenOuts, phMidiOut, uDeviceID, pCallback, dwInstance, fdwOpen);
}

MMRESULT cWinmmBackend::midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                             uint32_t cbHeader) {
    return OpenOuts.With(
        hMidiOut, [&](cWinmmOutDevice& Device) { return Device.Prepare(pHeader, cbHeader); });
}

MMRESULT cWinmmBackend::midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenOuts.With(
        hMidiOut, [&](cWinmmOutDevice& Device) { return Device.LongMessage(pHeader, cbHeader); });
}

MMRESULT cWinmmBackend::midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                               uint32_t cbHeader) {
    return OpenOuts.With(
        hMidiOut, [&](cWinmmOutDevice& Device) { return Device.Unprepare(pHeader, cbHeader); });
}

MMRESULT cWinmmBackend::midiOutClose(HMIDIOUT hMidiOut) {
    return OpenOuts.With(hMidiOut, [&](cWinmmOutDevice& Device) {
        const MMRESULT eClosed = Device.Close();
        if (eClosed == MMSYSERR_NOERROR) {
            OpenOuts.Remove(hMidiOut);
        }
        return eClosed;
    });
}

MMRESULT cWinmmBackend::midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) {
    return CopyErrorText(mmrError, pszText, cchText, &WinmmOutErrorText);
}

// Input

uint32_t cWinmmBackend::midiInGetNumDevs() {
    return WinmmInCount();
}

MMRESULT cWinmmBackend::midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps, uint32_t cbCaps) {
    return FillCaps(uDeviceID, pCaps, cbCaps, &WinmmInName);
}

MMRESULT cWinmmBackend::midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                                   uintptr_t dwInstance, uint32_t fdwOpen) {
    return OpenDevice(OpenIns, phMidiIn, uDeviceID, pCallback, dwInstance, fdwOpen);
}

MMRESULT cWinmmBackend::midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenIns.With(hMidiIn,
                        [&](cWinmmInDevice& Device) { return Device.Prepare(pHeader, cbHeader); });
}

MMRESULT cWinmmBackend::midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenIns.With(
        hMidiIn, [&](cWinmmInDevice& Device) { return Device.AddBuffer(pHeader, cbHeader); });
}

MMRESULT cWinmmBackend::midiInStart(HMIDIIN hMidiIn) {
    return OpenIns.With(hMidiIn, [](cWinmmInDevice& Device) { return Device.Start(); });
}

MMRESULT cWinmmBackend::midiInReset(HMIDIIN hMidiIn) {
    return OpenIns.With(hMidiIn, [](cWinmmInDevice& Device) { return Device.Reset(); });
}

MMRESULT cWinmmBackend::midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                              uint32_t cbHeader) {
    return OpenIns.With(
        hMidiIn, [&](cWinmmInDevice& Device) { return Device.Unprepare(pHeader, cbHeader); });
}

MMRESULT cWinmmBackend::midiInClose(HMIDIIN hMidiIn) {
    return OpenIns.With(hMidiIn, [&](cWinmmInDevice& Device) {
        const MMRESULT eClosed = Device.Close();
        if (eClosed == MMSYSERR_NOERROR) {
            OpenIns.Remove(hMidiIn);
        }
        return eClosed;
    });
}

MMRESULT cWinmmBackend::midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) {
    return CopyErrorText(mmrError, pszText, cchText, &WinmmInErrorText);
}
