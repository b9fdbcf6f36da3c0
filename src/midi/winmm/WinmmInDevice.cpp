#include "midi/winmm/WinmmInDevice.h"

cWinmmInDevice::cWinmmInDevice(HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance)
    : hSelf(hSelf),
      pCallback(pCallback),
      dwInstance(dwInstance),
      Headers({&WinmmInPrepare, &WinmmInAddBuffer, &WinmmInUnprepare}) {}

MMRESULT cWinmmInDevice::Open(uint32_t uDeviceID) {
    tWinmmDevice hOpened = nullptr;
    const MMRESULT eOpened = WinmmInOpen(&hOpened, uDeviceID, this);
    hWinmm.store(hOpened);
    return eOpened;
}

MMRESULT cWinmmInDevice::Prepare(MIDIHDR* pHeader, uint32_t cbHeader) {
    return Headers.Prepare(hWinmm.load(), pHeader, cbHeader);
}

MMRESULT cWinmmInDevice::AddBuffer(MIDIHDR* pHeader, uint32_t cbHeader) {
    return Headers.Queue(hWinmm.load(), pHeader, cbHeader);
}

MMRESULT cWinmmInDevice::Start() {
    return WinmmInStart(hWinmm.load());
}

MMRESULT cWinmmInDevice::Reset() {
    return WinmmInReset(hWinmm.load());
}

MMRESULT cWinmmInDevice::Unprepare(MIDIHDR* pHeader, uint32_t cbHeader) {
    return Headers.Unprepare(hWinmm.load(), pHeader, cbHeader);
}

MMRESULT cWinmmInDevice::Close() {
    if (Headers.AnyQueued()) {
        return MIDIERR_STILLPLAYING;
    }
    Headers.UnprepareAll(hWinmm.load());
    return WinmmInClose(hWinmm.load());
}

void cWinmmInDevice::OnWinmmMessage(uint32_t uiMsg, uintptr_t dwParam1, uintptr_t dwParam2) {
    if (uiMsg == MIM_LONGDATA || uiMsg == MIM_LONGERROR) {
        MIDIHDR* pHeader = Headers.Returned(dwParam1);
        if (pHeader == nullptr) {
            return;
        }
        dwParam1 = reinterpret_cast<uintptr_t>(pHeader);
    }
    if (pCallback != nullptr) {
        pCallback(hSelf, uiMsg, dwInstance, dwParam1, dwParam2);
    }
}
