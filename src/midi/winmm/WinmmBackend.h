#pragma once

#include "midi/MidiBackend.h"
#include "midi/driver/HandleTable.h"
#include "midi/winmm/WinmmDevice.h"

// The MIDI devices of Windows: every operation is its namesake of the Windows multimedia MIDI
// services, with the same arguments and results. Open devices are known by handles of this
// backend, so that a stale handle is refused rather than passed to the services; each MIDIHDR
// record handed in has a Windows MIDIHDR of its own over the same bytes. Device names are the
// services' UTF-16 names, error texts their own words. The MIDI mapper, which is no device of
// the lists, is never opened.
class cWinmmBackend final : public iMidiBackend {
  public:
    cWinmmBackend() = default;
    cWinmmBackend(const cWinmmBackend&) = delete;
    cWinmmBackend& operator=(const cWinmmBackend&) = delete;
    // Closes the devices still open.
    ~cWinmmBackend() override;

    // The multimedia services are part of Windows: they always answer.
    bool IsSystemReachable() const { return true; }

    uint32_t midiOutGetNumDevs() override;
    MMRESULT midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps, uint32_t cbCaps) override;
    MMRESULT midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID, tMidiOutProc pCallback,
                         uintptr_t dwInstance, uint32_t fdwOpen) override;
    MMRESULT midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) override;
    MMRESULT midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) override;
    MMRESULT midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                    uint32_t cbHeader) override;
    MMRESULT midiOutClose(HMIDIOUT hMidiOut) override;
    MMRESULT midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) override;

    uint32_t midiInGetNumDevs() override;
    MMRESULT midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps, uint32_t cbCaps) override;
    MMRESULT midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                        uintptr_t dwInstance, uint32_t fdwOpen) override;
    MMRESULT midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) override;
    MMRESULT midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) override;
    MMRESULT midiInStart(HMIDIIN hMidiIn) override;
    MMRESULT midiInReset(HMIDIIN hMidiIn) override;
    MMRESULT midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) override;
    MMRESULT midiInClose(HMIDIIN hMidiIn) override;
    MMRESULT midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) override;

  private:
    cHandleTable<HMIDIOUT, cWinmmOutDevice> OpenOuts;
    cHandleTable<HMIDIIN, cWinmmInDevice> OpenIns;
};
