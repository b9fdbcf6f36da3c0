#pragma once

#include <cstdint>
#include <functional>

#include "midi/MidiPlatform.h"

// Faults a virtual device acts out, for testing how the ports cope. Calls are counted from the
// device's latest open, starting at 1; 0 means never.
struct tVirtualFaults {
    // Nonzero: opening the device fails with this result.
    MMRESULT eOpenResult = MMSYSERR_NOERROR;
    // The prepare call with this number fails with MMSYSERR_NOMEM.
    uint32_t uiPrepareFailsOn = 0;
    // Output: the long-message call with this number fails with MIDIERR_NOTREADY (the chunk is
    // not sent). Input: the add-buffer call with this number does.
    uint32_t uiQueueFailsOn = 0;
    // Output: every chunk stays "still playing" for this many unprepare polls. Input: close
    // answers MIDIERR_STILLPLAYING this many times.
    uint32_t StillPlayingPolls = 0;
    // Input: runs inside every add-buffer call, on the calling thread, before the block is
    // queued. A test can hold the port's callback there, in the middle of storing a block.
    std::function<void()> OnAddBuffer = nullptr;
};
