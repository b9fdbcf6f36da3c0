#pragma once

#include "midi/driver/HandleBackend.h"
#include "midi/winmm/WinmmDevice.h"

// The MIDI devices of Windows: every operation is its namesake of the Windows multimedia MIDI
// services, with the same arguments and results. Open devices are known by handles of this
// backend, so that a stale handle is refused rather than passed to the services; each MIDIHDR
// record handed in has a Windows MIDIHDR of its own over the same bytes. Device names are the
// services' UTF-16 names, error texts their own words. The MIDI mapper, which is no device of
// the lists, is never opened.
class cWinmmBackend final : public cHandleBackend<cWinmmBackend, cWinmmOutDevice, cWinmmInDevice> {
  public:
    cWinmmBackend() = default;
    cWinmmBackend(const cWinmmBackend&) = delete;
    cWinmmBackend& operator=(const cWinmmBackend&) = delete;
    // Closes the devices still open.
    ~cWinmmBackend() override;

    // The multimedia services are part of Windows: they always answer.
    bool IsSystemReachable() const { return true; }

  private:
    friend cHandleBackend;

    uint32_t CountDevices(tMidiSide eSide);
    template <typename tCaps>
    MMRESULT GetCaps(tMidiSide eSide, uint32_t uDeviceID, tCaps* pCaps, uint32_t cbCaps);
    template <typename tHandle, typename tCallback>
    MMRESULT OpenDevice(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback,
                        uintptr_t dwInstance);
    MMRESULT GetErrorText(tMidiSide eSide, MMRESULT mmrError, char* pszText, uint32_t cchText);
};

extern template class cHandleBackend<cWinmmBackend, cWinmmOutDevice, cWinmmInDevice>;
