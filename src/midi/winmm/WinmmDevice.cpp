#include "midi/winmm/WinmmDevice.h"

template <typename tHandle>
cWinmmDevice<tHandle>::cWinmmDevice(tHandle Handle, tCallback Callback, uintptr_t dwInstance)
    : Handle(Handle), Callback(Callback), dwInstance(dwInstance) {}

template <typename tHandle>
MMRESULT cWinmmDevice<tHandle>::Open(uint32_t uDeviceID) {
    tWinmmDevice hOpened = nullptr;
    const MMRESULT eOpened = WinmmOpen(kSide, &hOpened, uDeviceID, this);
    ServiceHandle.store(hOpened);
    return eOpened;
}

template <typename tHandle>
MMRESULT cWinmmDevice<tHandle>::Prepare(MIDIHDR* pHeader) {
    return Headers.Prepare(ServiceHandle.load(), pHeader);
}

template <typename tHandle>
MMRESULT cWinmmDevice<tHandle>::Queue(MIDIHDR* pHeader) {
    return Headers.Queue(ServiceHandle.load(), pHeader);
}

template <typename tHandle>
MMRESULT cWinmmDevice<tHandle>::Unprepare(MIDIHDR* pHeader) {
    return Headers.Unprepare(ServiceHandle.load(), pHeader);
}

template <typename tHandle>
MMRESULT cWinmmDevice<tHandle>::Close() {
    if (Headers.AnyQueued()) {
        return MIDIERR_STILLPLAYING;
    }
    Headers.UnprepareAll(ServiceHandle.load());
    return WinmmClose(kSide, ServiceHandle.load());
}

template <typename tHandle>
void cWinmmDevice<tHandle>::OnWinmmMessage(uint32_t uiMsg, uintptr_t dwParam1, uintptr_t dwParam2) {
    if (HandsHeaderBack(uiMsg)) {
        MIDIHDR* pHeader = Headers.Returned(dwParam1);
        if (pHeader == nullptr) {
            return;
        }
        dwParam1 = reinterpret_cast<uintptr_t>(pHeader);
    }
    if (Callback != nullptr) {
        Callback(Handle, uiMsg, dwInstance, dwParam1, dwParam2);
    }
}

template <typename tHandle>
bool cWinmmDevice<tHandle>::HandsHeaderBack(uint32_t uiMsg) {
    if constexpr (kSide == WINMM_OUTPUT) {
        return uiMsg == MOM_DONE;
    } else {
        return uiMsg == MIM_LONGDATA || uiMsg == MIM_LONGERROR;
    }
}

template class cWinmmDevice<HMIDIOUT>;
template class cWinmmDevice<HMIDIIN>;
