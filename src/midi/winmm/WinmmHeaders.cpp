#include "midi/winmm/WinmmHeaders.h"

#include <utility>
#include <vector>

#include "midi/driver/MidiHeaderChecks.h"

MMRESULT cWinmmHeaders::Prepare(tWinmmDevice hDevice, MIDIHDR* pHeader) {
    tWinmmHeaderPtr pOld;
    if (!TakeUnqueued(pHeader, pOld)) {
        return MIDIERR_STILLPLAYING;
    }
    if (pOld != nullptr) {
        Calls.Unprepare(Side, hDevice, *pOld);
    }
    tWinmmHeaderPtr WinmmHeader = MakeWinmmHeader(pHeader->lpData, pHeader->dwBufferLength);
    if (WinmmHeader == nullptr) {
        return MMSYSERR_NOMEM;
    }
    const MMRESULT ePrepared = Calls.Prepare(Side, hDevice, *WinmmHeader);
    if (ePrepared != MMSYSERR_NOERROR) {
        return ePrepared;
    }
    std::lock_guard<std::mutex> Lock(EntriesMutex);
    Entries[pHeader] = tEntry{std::move(WinmmHeader), false};
    pHeader->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT cWinmmHeaders::Queue(tWinmmDevice hDevice, MIDIHDR* pHeader) {
    tWinmmHeader* WinmmHeader = nullptr;
    {
        std::lock_guard<std::mutex> Lock(EntriesMutex);
        const auto Found = Entries.find(pHeader);
        if (Found == Entries.end()) {
            return MIDIERR_UNPREPARED;
        }
        if (Found->second.Queued) {
            return MIDIERR_STILLPLAYING;
        }
        Found->second.Queued = true;
        pHeader->dwFlags = (pHeader->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
        pHeader->dwBytesRecorded = 0;
        WinmmHeader = Found->second.WinmmHeader.get();
    }
    const MMRESULT eQueued = Calls.Queue(Side, hDevice, *WinmmHeader);
    if (eQueued != MMSYSERR_NOERROR) {
        std::lock_guard<std::mutex> Lock(EntriesMutex);
        Entries[pHeader].Queued = false;
        pHeader->dwFlags &= ~MHDR_INQUEUE;
    }
    return eQueued;
}

MMRESULT cWinmmHeaders::Unprepare(tWinmmDevice hDevice, MIDIHDR* pHeader) {
    tWinmmHeaderPtr WinmmHeader;
    if (!TakeUnqueued(pHeader, WinmmHeader)) {
        return MIDIERR_STILLPLAYING;
    }
    if (WinmmHeader == nullptr) {
        pHeader->dwFlags &= ~MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }
    const MMRESULT eUnprepared = Calls.Unprepare(Side, hDevice, *WinmmHeader);
    std::lock_guard<std::mutex> Lock(EntriesMutex);
    if (eUnprepared != MMSYSERR_NOERROR) {
        Entries[pHeader] = tEntry{std::move(WinmmHeader), false};
        return eUnprepared;
    }
    pHeader->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

bool cWinmmHeaders::TakeUnqueued(MIDIHDR* pHeader, tWinmmHeaderPtr& pTaken) {
    std::lock_guard<std::mutex> Lock(EntriesMutex);
    const auto Found = Entries.find(pHeader);
    if (Found == Entries.end()) {
        return true;
    }
    if (Found->second.Queued) {
        return false;
    }
    pTaken = std::move(Found->second.WinmmHeader);
    Entries.erase(Found);
    return true;
}

// The header is looked for among those held before it is read: a device has a few dozen.
MIDIHDR* cWinmmHeaders::Returned(uintptr_t dwWinmmHeader) {
    std::lock_guard<std::mutex> Lock(EntriesMutex);
    for (auto& [pHeader, Entry] : Entries) {
        if (Entry.Queued && reinterpret_cast<uintptr_t>(Entry.WinmmHeader.get()) == dwWinmmHeader) {
            pHeader->dwBytesRecorded = WinmmHeaderBytesRecorded(*Entry.WinmmHeader);
            MarkDone(*pHeader);
            Entry.Queued = false;
            return pHeader;
        }
    }
    return nullptr;
}

bool cWinmmHeaders::AnyQueued() const {
    std::lock_guard<std::mutex> Lock(EntriesMutex);
    for (const auto& Entry : Entries) {
        if (Entry.second.Queued) {
            return true;
        }
    }
    return false;
}

void cWinmmHeaders::UnprepareAll(tWinmmDevice hDevice) {
    std::vector<tWinmmHeaderPtr> Left;
    {
        std::lock_guard<std::mutex> Lock(EntriesMutex);
        for (auto& Entry : Entries) {
            Left.push_back(std::move(Entry.second.WinmmHeader));
        }
        Entries.clear();
    }
    for (const tWinmmHeaderPtr& WinmmHeader : Left) {
        Calls.Unprepare(Side, hDevice, *WinmmHeader);
    }
}
