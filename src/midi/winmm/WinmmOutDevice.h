#pragma once

#include <atomic>

#include "midi/MidiPlatform.h"
#include "midi/winmm/WinmmCalls.h"
#include "midi/winmm/WinmmHeaders.h"

// One open output device of the Windows multimedia services, under the handle the backend gave
// it. Its messages reach the interface's callback with that handle and, for MOM_DONE, with the
// interface's record of the buffer handed back.
class cWinmmOutDevice final : public iWinmmListener {
  public:
    cWinmmOutDevice(HMIDIOUT hSelf, tMidiOutProc pCallback, uintptr_t dwInstance);
    cWinmmOutDevice(const cWinmmOutDevice&) = delete;
    cWinmmOutDevice& operator=(const cWinmmOutDevice&) = delete;

    MMRESULT Open(uint32_t uDeviceID);
    MMRESULT Prepare(MIDIHDR* pHeader, uint32_t cbHeader);
    MMRESULT LongMessage(MIDIHDR* pHeader, uint32_t cbHeader);
    MMRESULT Unprepare(MIDIHDR* pHeader, uint32_t cbHeader);
    // MIDIERR_STILLPLAYING while the services hold a buffer.
    MMRESULT Close();

    void OnWinmmMessage(uint32_t uiMsg, uintptr_t dwParam1, uintptr_t dwParam2) override;

  private:
    const HMIDIOUT hSelf;
    const tMidiOutProc pCallback;
    const uintptr_t dwInstance;
    std::atomic<tWinmmDevice> hWinmm{nullptr};
    cWinmmHeaders Headers;
};
