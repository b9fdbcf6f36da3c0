#include "midi/MidiBackend.h"

#include <atomic>

#include "midi/MidiErrorText.h"

namespace {

// Stands in while no backend is installed: no devices, every open refused.
class cNoMidiBackend final : public iMidiBackend {
  public:
    uint32_t midiOutGetNumDevs() override { return 0; }
    MMRESULT midiOutGetDevCapsW(uint32_t, MIDIOUTCAPSW*, uint32_t) override {
        return MMSYSERR_NODRIVER;
    }
    MMRESULT midiOutOpen(HMIDIOUT*, uint32_t, tMidiOutProc, uintptr_t, uint32_t) override {
        return MMSYSERR_NODRIVER;
    }
    MMRESULT midiOutPrepareHeader(HMIDIOUT, MIDIHDR*, uint32_t) override {
        return MMSYSERR_INVALHANDLE;
    }
    MMRESULT midiOutLongMsg(HMIDIOUT, MIDIHDR*, uint32_t) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT midiOutUnprepareHeader(HMIDIOUT, MIDIHDR*, uint32_t) override {
        return MMSYSERR_INVALHANDLE;
    }
    MMRESULT midiOutClose(HMIDIOUT) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) override {
        return GetStandardMidiErrorText(mmrError, pszText, cchText);
    }

    uint32_t midiInGetNumDevs() override { return 0; }
    MMRESULT midiInGetDevCapsW(uint32_t, MIDIINCAPSW*, uint32_t) override {
        return MMSYSERR_NODRIVER;
    }
    MMRESULT midiInOpen(HMIDIIN*, uint32_t, tMidiInProc, uintptr_t, uint32_t) override {
        return MMSYSERR_NODRIVER;
    }
    MMRESULT midiInPrepareHeader(HMIDIIN, MIDIHDR*, uint32_t) override {
        return MMSYSERR_INVALHANDLE;
    }
    MMRESULT midiInAddBuffer(HMIDIIN, MIDIHDR*, uint32_t) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT midiInStart(HMIDIIN) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT midiInReset(HMIDIIN) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT midiInUnprepareHeader(HMIDIIN, MIDIHDR*, uint32_t) override {
        return MMSYSERR_INVALHANDLE;
    }
    MMRESULT midiInClose(HMIDIIN) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) override {
        return GetStandardMidiErrorText(mmrError, pszText, cchText);
    }
};

cNoMidiBackend NoMidiBackend;
std::atomic<iMidiBackend*> pInstalledBackend{nullptr};

}  // namespace

void SetMidiBackend(iMidiBackend* pBackend) {
    pInstalledBackend.store(pBackend);
}

iMidiBackend* GetMidiBackend() {
    return pInstalledBackend.load();
}

iMidiBackend& MidiBackend() {
    iMidiBackend* pBackend = pInstalledBackend.load();
    return pBackend != nullptr ? *pBackend : NoMidiBackend;
}
