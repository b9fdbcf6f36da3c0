#pragma once

#include "midi/MidiPlatform.h"

// The MIDI services behind one narrow interface: the operations the ports and the device list
// need, with the platform's names, arguments and results. A backend (RtMidi for real devices,
// the in-process virtual one for tests and the device emulator) implements it; the ports see
// only this. Every operation reports failure through its result and never throws.
class iMidiBackend {
  public:
    virtual ~iMidiBackend() = default;

    virtual uint32_t midiOutGetNumDevs() = 0;
    virtual MMRESULT midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps,
                                        uint32_t cbCaps) = 0;
    virtual MMRESULT midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID, tMidiOutProc pCallback,
                                 uintptr_t dwInstance, uint32_t fdwOpen) = 0;
    virtual MMRESULT midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                          uint32_t cbHeader) = 0;
    // Queues a prepared buffer for output and returns without waiting; MOM_DONE follows when
    // the services are finished with it.
    virtual MMRESULT midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) = 0;
    // MIDIERR_STILLPLAYING while the services still hold the buffer.
    virtual MMRESULT midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                            uint32_t cbHeader) = 0;
    virtual MMRESULT midiOutClose(HMIDIOUT hMidiOut) = 0;
    // Writes the text of result mmrError into pszText, at most cchText bytes with the
    // terminator (UTF-8, MAXERRORLENGTH always suffices). The standard codes have their standard
    // texts; a failure of the backend's own MIDI library or system has that library's words.
    // MMSYSERR_BADERRNUM for a code the backend does not know (pszText then holds ""),
    // MMSYSERR_INVALPARAM without a buffer.
    virtual MMRESULT midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) = 0;

    virtual uint32_t midiInGetNumDevs() = 0;
    virtual MMRESULT midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps, uint32_t cbCaps) = 0;
    virtual MMRESULT midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                                uintptr_t dwInstance, uint32_t fdwOpen) = 0;
    virtual MMRESULT midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) = 0;
    // Queues a prepared block for SysEx input. It comes back through the callback as
    // MIM_LONGDATA, dwBytesRecorded set, when it is full or a SysEx message has ended in it.
    virtual MMRESULT midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) = 0;
    virtual MMRESULT midiInStart(HMIDIIN hMidiIn) = 0;
    // Stops input and hands every queued block back through the callback. A callback that was
    // running for earlier input has finished when it returns, so the blocks may then be freed
    // once unprepared and the device closed.
    virtual MMRESULT midiInReset(HMIDIIN hMidiIn) = 0;
    virtual MMRESULT midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                           uint32_t cbHeader) = 0;
    // MIDIERR_STILLPLAYING while blocks are still queued.
    virtual MMRESULT midiInClose(HMIDIIN hMidiIn) = 0;
    virtual MMRESULT midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) = 0;
};

// The backend the ports use, one for the process, installed at start-up before any port is
// opened and kept until every port is closed. Without one, the ports see no devices and every
// open fails with MMSYSERR_NODRIVER.
void SetMidiBackend(iMidiBackend* pBackend);
iMidiBackend* GetMidiBackend();
// The installed backend, or one without devices when none is installed.
iMidiBackend& MidiBackend();

// Installs a backend for the life of this object and restores the previous one afterwards.
class cScopedMidiBackend {
  public:
    explicit cScopedMidiBackend(iMidiBackend& Backend) : Previous(GetMidiBackend()) {
        SetMidiBackend(&Backend);
    }
    cScopedMidiBackend(const cScopedMidiBackend&) = delete;
    cScopedMidiBackend& operator=(const cScopedMidiBackend&) = delete;
    ~cScopedMidiBackend() { SetMidiBackend(Previous); }

  private:
    iMidiBackend* Previous;
};
