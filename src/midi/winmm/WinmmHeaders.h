#pragma once

#include <map>
#include <mutex>

#include "midi/MidiPlatform.h"
#include "midi/winmm/WinmmCalls.h"

// The native calls that act on a header; the services' own unless a test plays them.
struct tWinmmHeaderCalls {
    uint32_t (*Prepare)(tWinmmSide Side, tWinmmDevice hDevice, tWinmmHeader& Header);
    uint32_t (*Queue)(tWinmmSide Side, tWinmmDevice hDevice, tWinmmHeader& Header);
    uint32_t (*Unprepare)(tWinmmSide Side, tWinmmDevice hDevice, tWinmmHeader& Header);
};

inline constexpr tWinmmHeaderCalls kWinmmHeaderCalls{&WinmmPrepare, &WinmmQueue, &WinmmUnprepare};

// The Windows MIDIHDR that one open device keeps for each of the interface's MIDIHDR records it
// has prepared, over the same bytes, and whether the services hold it. The record mirrors the
// flags (for input also the byte count) of its Windows twin. It is written only under the lock:
// by the calling thread before the services get the buffer, and by the callback when they hand
// it back. Until that callback has passed the record on, unpreparing it or closing the device
// answers MIDIERR_STILLPLAYING, so a record that its owner frees is never written afterwards.
// No native call is made with the lock held: a driver may hold a lock of its own while it calls
// back.
class cWinmmHeaders {
  public:
    explicit cWinmmHeaders(tWinmmSide Side, const tWinmmHeaderCalls& Calls = kWinmmHeaderCalls)
        : Side(Side), Calls(Calls) {}
    cWinmmHeaders(const cWinmmHeaders&) = delete;
    cWinmmHeaders& operator=(const cWinmmHeaders&) = delete;

    // A record prepared before (and not queued) gets a new Windows header, so that its buffer
    // may have changed.
    MMRESULT Prepare(tWinmmDevice hDevice, MIDIHDR* pHeader);
    MMRESULT Queue(tWinmmDevice hDevice, MIDIHDR* pHeader);
    // A record this device did not prepare is unprepared already: MMSYSERR_NOERROR.
    MMRESULT Unprepare(tWinmmDevice hDevice, MIDIHDR* pHeader);
    // The record of the Windows header a callback hands back (its dwParam1), marked done with
    // the count copied; null for a header this device does not hold in the services' queue.
    MIDIHDR* Returned(uintptr_t dwWinmmHeader);
    bool AnyQueued() const;
    // Unprepares and forgets every Windows header, before the device closes; the records are not
    // touched, as their owner may have freed them.
    void UnprepareAll(tWinmmDevice hDevice);

  private:
    struct tEntry {
        tWinmmHeaderPtr WinmmHeader;
        bool Queued = false;
    };

    // Takes the Windows header of pHeader out of the table into pTaken (left null when there is
    // none); false, taking nothing, while the services hold it.
    bool TakeUnqueued(MIDIHDR* pHeader, tWinmmHeaderPtr& pTaken);

    const tWinmmSide Side;
    const tWinmmHeaderCalls Calls;
    mutable std::mutex EntriesMutex;
    std::map<MIDIHDR*, tEntry> Entries;
};
