#pragma once

#include <atomic>
#include <type_traits>

#include "midi/MidiPlatform.h"
#include "midi/winmm/WinmmCalls.h"
#include "midi/winmm/WinmmHeaders.h"

// One open device of the Windows multimedia services, an output (HMIDIOUT) or an input
// (HMIDIIN), under the handle the backend gave it. Its messages reach the interface's callback
// with that handle and, for those that hand a header back (MOM_DONE; MIM_LONGDATA and
// MIM_LONGERROR), with the interface's record of it, its flags and count set.
template <typename tHandle>
class cWinmmDevice final : public iWinmmListener {
  public:
    using tCallback = void (*)(tHandle Handle, uint32_t wMsg, uintptr_t dwInstance,
                               uintptr_t dwParam1, uintptr_t dwParam2);
    static constexpr tWinmmSide kSide =
        std::is_same_v<tHandle, HMIDIOUT> ? WINMM_OUTPUT : WINMM_INPUT;

    cWinmmDevice(tHandle Handle, tCallback Callback, uintptr_t dwInstance);
    cWinmmDevice(const cWinmmDevice&) = delete;
    cWinmmDevice& operator=(const cWinmmDevice&) = delete;

    MMRESULT Open(uint32_t uDeviceID);
    MMRESULT Prepare(MIDIHDR* pHeader);
    // An output's long message, an input's receive buffer.
    MMRESULT Queue(MIDIHDR* pHeader);
    MMRESULT Unprepare(MIDIHDR* pHeader);
    // Input devices only.
    MMRESULT Start() requires(kSide == WINMM_INPUT) { return WinmmInStart(ServiceHandle.load()); }
    MMRESULT Reset() requires(kSide == WINMM_INPUT) { return WinmmInReset(ServiceHandle.load()); }
    // MIDIERR_STILLPLAYING while a header is queued, or handed back but not yet passed on.
    MMRESULT Close();

    void OnWinmmMessage(uint32_t uiMsg, uintptr_t dwParam1, uintptr_t dwParam2) override;

  private:
    static bool HandsHeaderBack(uint32_t uiMsg);

    const tHandle Handle;
    const tCallback Callback;
    const uintptr_t dwInstance;
    std::atomic<tWinmmDevice> ServiceHandle{nullptr};
    cWinmmHeaders Headers{kSide};
};

using cWinmmOutDevice = cWinmmDevice<HMIDIOUT>;
using cWinmmInDevice = cWinmmDevice<HMIDIIN>;
