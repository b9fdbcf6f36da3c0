#pragma once

#include "midi/MidiPlatform.h"

// What the services ask of a header handed to them: a whole record (by its size argument).
inline MMRESULT CheckHeaderRecord(const MIDIHDR* pHeader, uint32_t cbHeader) {
    return pHeader == nullptr || cbHeader < sizeof(MIDIHDR) ? MMSYSERR_INVALPARAM
                                                            : MMSYSERR_NOERROR;
}

// What the services ask of a header handed to them to prepare: a whole record with a buffer to
// use.
inline MMRESULT CheckHeaderToPrepare(const MIDIHDR* pHeader, uint32_t cbHeader) {
    if (CheckHeaderRecord(pHeader, cbHeader) != MMSYSERR_NOERROR) {
        return MMSYSERR_INVALPARAM;
    }
    if (pHeader->lpData == nullptr || pHeader->dwBufferLength == 0) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

// What the services ask of a header handed to them for use: a whole, prepared record.
inline MMRESULT CheckPreparedHeader(const MIDIHDR* pHeader, uint32_t cbHeader) {
    if (CheckHeaderRecord(pHeader, cbHeader) != MMSYSERR_NOERROR) {
        return MMSYSERR_INVALPARAM;
    }
    if ((pHeader->dwFlags & MHDR_PREPARED) == 0) {
        return MIDIERR_UNPREPARED;
    }
    return MMSYSERR_NOERROR;
}

// Prepares a checked header as the services do: marked prepared.
inline MMRESULT MarkPrepared(MIDIHDR* pHeader) {
    pHeader->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

// Unprepares a checked header as the services do: refused while it is queued, then no longer
// marked prepared.
inline MMRESULT MarkUnprepared(MIDIHDR* pHeader) {
    if ((pHeader->dwFlags & MHDR_INQUEUE) != 0) {
        return MIDIERR_STILLPLAYING;
    }
    pHeader->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

// A buffer the services are finished with: out of the queue, done.
inline void MarkDone(MIDIHDR& Header) {
    Header.dwFlags = (Header.dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
}
