#include "midi/winmm/WinmmHeaders.h"

#include <utility>
#include <vector>

#include "midi/driver/MidiHeaderChecks.h"

MMRESULT cWinmmHeaders::Prepare(tWinmmDevice hDevice, MIDIHDR* pHeader, uint32_t cbHeader) {
    const MMRESULT eCheck = CheckHeaderToPrepare(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    tWinmmHeaderPtr pOld;
    if (!TakeUnqueued(pHeader, pOld)) {
        return MIDIERR_STILLPLAYING;
    }
    if (pOld != nullptr) {
        Calls.pUnprepare(eSide, hDevice, *pOld);
    }
    tWinmmHeaderPtr pWinmm = MakeWinmmHeader(pHeader->lpData, pHeader->dwBufferLength);
    if (pWinmm == nullptr) {
        return MMSYSERR_NOMEM;
    }
    const MMRESULT ePrepared = Calls.pPrepare(eSide, hDevice, *pWinmm);
    if (ePrepared != MMSYSERR_NOERROR) {
        return ePrepared;
    }
    std::lock_guard<std::mutex> Lock(mEntries);
    Entries[pHeader] = tEntry{std::move(pWinmm), false};
    pHeader->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT cWinmmHeaders::Queue(tWinmmDevice hDevice, MIDIHDR* pHeader, uint32_t cbHeader) {
    const MMRESULT eCheck = CheckPreparedHeader(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    tWinmmHeader* pWinmm = nullptr;
    {
        std::lock_guard<std::mutex> Lock(mEntries);
        const auto Found = Entries.find(pHeader);
        if (Found == Entries.end()) {
            return MIDIERR_UNPREPARED;
        }
        if (Found->second.bQueued) {
            return MIDIERR_STILLPLAYING;
        }
        Found->second.bQueued = true;
        pHeader->dwFlags = (pHeader->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
        pHeader->dwBytesRecorded = 0;
        pWinmm = Found->second.pWinmm.get();
    }
    const MMRESULT eQueued = Calls.pQueue(eSide, hDevice, *pWinmm);
    if (eQueued != MMSYSERR_NOERROR) {
        std::lock_guard<std::mutex> Lock(mEntries);
        Entries[pHeader].bQueued = false;
        pHeader->dwFlags &= ~MHDR_INQUEUE;
    }
    return eQueued;
}

MMRESULT cWinmmHeaders::Unprepare(tWinmmDevice hDevice, MIDIHDR* pHeader, uint32_t cbHeader) {
    const MMRESULT eCheck = CheckHeaderRecord(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    tWinmmHeaderPtr pWinmm;
    if (!TakeUnqueued(pHeader, pWinmm)) {
        return MIDIERR_STILLPLAYING;
    }
    if (pWinmm == nullptr) {
        pHeader->dwFlags &= ~MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }
    const MMRESULT eUnprepared = Calls.pUnprepare(eSide, hDevice, *pWinmm);
    std::lock_guard<std::mutex> Lock(mEntries);
    if (eUnprepared != MMSYSERR_NOERROR) {
        Entries[pHeader] = tEntry{std::move(pWinmm), false};
        return eUnprepared;
    }
    pHeader->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

bool cWinmmHeaders::TakeUnqueued(MIDIHDR* pHeader, tWinmmHeaderPtr& pTaken) {
    std::lock_guard<std::mutex> Lock(mEntries);
    const auto Found = Entries.find(pHeader);
    if (Found == Entries.end()) {
        return true;
    }
    if (Found->second.bQueued) {
        return false;
    }
    pTaken = std::move(Found->second.pWinmm);
    Entries.erase(Found);
    return true;
}

// The header is looked for among those held before it is read: a device has a few dozen.
MIDIHDR* cWinmmHeaders::Returned(uintptr_t dwWinmmHeader) {
    std::lock_guard<std::mutex> Lock(mEntries);
    for (auto& [pHeader, Entry] : Entries) {
        if (Entry.bQueued && reinterpret_cast<uintptr_t>(Entry.pWinmm.get()) == dwWinmmHeader) {
            pHeader->dwBytesRecorded = WinmmHeaderBytesRecorded(*Entry.pWinmm);
            MarkDone(*pHeader);
            Entry.bQueued = false;
            return pHeader;
        }
    }
    return nullptr;
}

bool cWinmmHeaders::AnyQueued() const {
    std::lock_guard<std::mutex> Lock(mEntries);
    for (const auto& Entry : Entries) {
        if (Entry.second.bQueued) {
            return true;
        }
    }
    return false;
}

void cWinmmHeaders::UnprepareAll(tWinmmDevice hDevice) {
    std::vector<tWinmmHeaderPtr> Left;
    {
        std::lock_guard<std::mutex> Lock(mEntries);
        for (auto& Entry : Entries) {
            Left.push_back(std::move(Entry.second.pWinmm));
        }
        Entries.clear();
    }
    for (const tWinmmHeaderPtr& pWinmm : Left) {
        Calls.pUnprepare(eSide, hDevice, *pWinmm);
    }
}
