#pragma once

#include <atomic>

#include "midi/MidiPlatform.h"
#include "midi/winmm/WinmmCalls.h"
#include "midi/winmm/WinmmHeaders.h"

// One open input device of the Windows multimedia services, under the handle the backend gave
// it. Its messages reach the interface's callback with that handle and, for MIM_LONGDATA and
// MIM_LONGERROR, with the interface's record of the block handed back, its count set.
class cWinmmInDevice final : public iWinmmListener {
  public:
    cWinmmInDevice(HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance);
    cWinmmInDevice(const cWinmmInDevice&) = delete;
    cWinmmInDevice& operator=(const cWinmmInDevice&) = delete;

    MMRESULT Open(uint32_t uDeviceID);
    MMRESULT Prepare(MIDIHDR* pHeader, uint32_t cbHeader);
    MMRESULT AddBuffer(MIDIHDR* pHeader, uint32_t cbHeader);
    MMRESULT Start();
    MMRESULT Reset();
    MMRESULT Unprepare(MIDIHDR* pHeader, uint32_t cbHeader);
    // MIDIERR_STILLPLAYING while a block is queued, or handed back but not yet passed on.
    MMRESULT Close();

    void OnWinmmMessage(uint32_t uiMsg, uintptr_t dwParam1, uintptr_t dwParam2) override;

  private:
    const HMIDIIN hSelf;
    const tMidiInProc pCallback;
    const uintptr_t dwInstance;
    std::atomic<tWinmmDevice> hWinmm{nullptr};
    cWinmmHeaders Headers;
};
