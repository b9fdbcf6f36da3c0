#include "midi/driver/MidiInBlockQueue.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "midi/SysexBytes.h"
#include "midi/driver/MidiHeaderChecks.h"

cMidiInBlockQueue::cMidiInBlockQueue(HMIDIIN hMidiIn, tMidiInProc pCallback, uintptr_t dwInstance)
    : hMidiIn(hMidiIn), Callback(pCallback), dwInstance(dwInstance) {}

void cMidiInBlockQueue::NotifyOpen() {
    Notify(MIM_OPEN, 0);
}

void cMidiInBlockQueue::NotifyLoss(MMRESULT eLoss) {
    std::lock_guard<std::mutex> Delivery(DeliveryMutex);
    {
        std::lock_guard<std::mutex> Lock(BlocksMutex);
        if (Closed || Lost) {
            return;
        }
        Lost = true;
    }
    Notify(MIM_CLOSE, eLoss);
}

MMRESULT cMidiInBlockQueue::Prepare(MIDIHDR* pHeader) {
    std::lock_guard<std::mutex> Lock(BlocksMutex);
    return MarkPrepared(pHeader);
}

MMRESULT cMidiInBlockQueue::Unprepare(MIDIHDR* pHeader) {
    std::lock_guard<std::mutex> Lock(BlocksMutex);
    return MarkUnprepared(pHeader);
}

MMRESULT cMidiInBlockQueue::Queue(MIDIHDR* pHeader) {
    std::lock_guard<std::mutex> Lock(BlocksMutex);
    if (Closed) {
        return MMSYSERR_INVALHANDLE;
    }
    if ((pHeader->dwFlags & MHDR_INQUEUE) != 0) {
        return MIDIERR_STILLPLAYING;
    }
    pHeader->dwFlags = (pHeader->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    pHeader->dwBytesRecorded = 0;
    Queued.push_back(pHeader);
    return MMSYSERR_NOERROR;
}

MMRESULT cMidiInBlockQueue::Start() {
    std::lock_guard<std::mutex> Lock(BlocksMutex);
    Started = !Closed;
    return MMSYSERR_NOERROR;
}

MMRESULT cMidiInBlockQueue::Reset() {
    std::lock_guard<std::mutex> Delivery(DeliveryMutex);
    std::vector<MIDIHDR*> Returned;
    {
        std::lock_guard<std::mutex> Lock(BlocksMutex);
        Started = false;
        Returned.assign(Queued.begin(), Queued.end());
        Queued.clear();
        for (MIDIHDR* pHeader : Returned) {
            MarkDone(*pHeader);
        }
    }
    for (MIDIHDR* pHeader : Returned) {
        Notify(MIM_LONGDATA, reinterpret_cast<uintptr_t>(pHeader));
    }
    return MMSYSERR_NOERROR;
}

MMRESULT cMidiInBlockQueue::Close() {
    {
        std::lock_guard<std::mutex> Delivery(DeliveryMutex);
        std::lock_guard<std::mutex> Lock(BlocksMutex);
        if (!Queued.empty()) {
            return MIDIERR_STILLPLAYING;
        }
        Started = false;
        Closed = true;
    }
    Notify(MIM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

size_t cMidiInBlockQueue::QueuedBlocks() const {
    std::lock_guard<std::mutex> Lock(BlocksMutex);
    return Queued.size();
}

void cMidiInBlockQueue::Receive(const uint8_t* pucMessage, size_t uiCount) {
    if (pucMessage == nullptr || uiCount == 0) {
        return;
    }
    std::lock_guard<std::mutex> Delivery(DeliveryMutex);
    {
        std::lock_guard<std::mutex> Lock(BlocksMutex);
        if (!Started) {
            return;
        }
    }
    if (pucMessage[0] == kSysexStart) {
        ReceiveSysex(pucMessage, uiCount);
    } else {
        ReceiveShort(pucMessage, uiCount);
    }
}

void cMidiInBlockQueue::ReceiveSysex(const uint8_t* pucMessage, size_t uiCount) {
    size_t uiDone = 0;
    while (uiDone < uiCount) {
        size_t uiTaken = 0;
        bool bNoBlock = false;
        MIDIHDR* pFinished =
            FillFrontBlock(pucMessage + uiDone, uiCount - uiDone, uiTaken, bNoBlock);
        if (bNoBlock) {
            return;
        }
        uiDone += uiTaken;
        if (pFinished != nullptr) {
            Notify(MIM_LONGDATA, reinterpret_cast<uintptr_t>(pFinished));
        }
    }
}

MIDIHDR* cMidiInBlockQueue::FillFrontBlock(const uint8_t* pucBytes, size_t uiCount, size_t& uiTaken,
                                           bool& bNoBlock) {
    std::lock_guard<std::mutex> Lock(BlocksMutex);
    if (!Started || Queued.empty()) {
        bNoBlock = true;
        return nullptr;
    }
    MIDIHDR* pHeader = Queued.front();
    const size_t uiRoom = pHeader->dwBufferLength - pHeader->dwBytesRecorded;
    uiTaken = std::min(uiRoom, uiCount);
    std::memcpy(pHeader->lpData + pHeader->dwBytesRecorded, pucBytes, uiTaken);
    pHeader->dwBytesRecorded += static_cast<uint32_t>(uiTaken);
    const bool bFull = pHeader->dwBytesRecorded == pHeader->dwBufferLength;
    const bool bMessageEnded = uiTaken == uiCount;
    if (!bFull && !bMessageEnded) {
        return nullptr;
    }
    Queued.pop_front();
    MarkDone(*pHeader);
    return pHeader;
}

// A short message travels packed into dwParam1, status byte lowest, as the platform does it.
void cMidiInBlockQueue::ReceiveShort(const uint8_t* pucMessage, size_t uiCount) {
    uintptr_t dwPacked = 0;
    for (size_t i = 0; i < std::min<size_t>(uiCount, 3); ++i) {
        dwPacked |= uintptr_t{pucMessage[i]} << (8 * i);
    }
    Notify(MIM_DATA, dwPacked);
}

void cMidiInBlockQueue::Notify(uint32_t wMsg, uintptr_t dwParam1) {
    if (Callback != nullptr) {
        Callback(hMidiIn, wMsg, dwInstance, dwParam1, 0);
    }
}
