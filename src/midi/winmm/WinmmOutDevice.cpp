#include "midi/winmm/WinmmOutDevice.h"

cWinmmOutDevice::cWinmmOutDevice(HMIDIOUT hSelf, tMidiOutProc pCallback, uintptr_t dwInstance)
    : hSelf(hSelf),
      pCallback(pCallback),
      dwInstance(dwInstance),
      Headers({&WinmmOutPrepare, &WinmmOutLongMsg, &WinmmOutUnprepare}) {}

MMRESULT cWinmmOutDevice::Open(uint32_t uDeviceID) {
    tWinmmDevice hOpened = nullptr;
    const MMRESULT eOpened = WinmmOutOpen(&hOpened, uDeviceID, this);
    hWinmm.store(hOpened);
    return eOpened;
}

MMRESULT cWinmmOutDevice::Prepare(MIDIHDR* pHeader, uint32_t cbHeader) {
    return Headers.Prepare(hWinmm.load(), pHeader, cbHeader);
}

MMRESULT cWinmmOutDevice::LongMessage(MIDIHDR* pHeader, uint32_t cbHeader) {
    return Headers.Queue(hWinmm.load(), pHeader, cbHeader);
}

MMRESULT cWinmmOutDevice::Unprepare(MIDIHDR* pHeader, uint32_t cbHeader) {
    return Headers.Unprepare(hWinmm.load(), pHeader, cbHeader);
}

MMRESULT cWinmmOutDevice::Close() {
    if (Headers.AnyQueued()) {
        return MIDIERR_STILLPLAYING;
    }
    Headers.UnprepareAll(hWinmm.load());
    return WinmmOutClose(hWinmm.load());
}

void cWinmmOutDevice::OnWinmmMessage(uint32_t uiMsg, uintptr_t dwParam1, uintptr_t dwParam2) {
    if (uiMsg == MOM_DONE) {
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
