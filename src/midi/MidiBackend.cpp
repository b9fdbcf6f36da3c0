#include "midi/MidiBackend.h"

#include <atomic>

#include "midi/MidiErrorText.h"

namespace {

// Stands in while no backend is installed: no devices, so every open is refused and no handle
// is ever valid; the standard error texts.
class cNoMidiBackend final : public iMidiBackend {
  public:
    uint32_t midiOutGetNumDevs() override { return 0; }
    uint32_t midiInGetNumDevs() override { return 0; }
    MMRESULT midiOutGetDevCapsW(uint32_t, MIDIOUTCAPSW*, uint32_t) override { return kNoDriver; }
    MMRESULT midiInGetDevCapsW(uint32_t, MIDIINCAPSW*, uint32_t) override { return kNoDriver; }
    MMRESULT midiOutOpen(HMIDIOUT*, uint32_t, tMidiOutProc, uintptr_t, uint32_t) override {
        return kNoDriver;
    }
    MMRESULT midiInOpen(HMIDIIN*, uint32_t, tMidiInProc, uintptr_t, uint32_t) override {
        return kNoDriver;
    }

    MMRESULT midiOutPrepareHeader(HMIDIOUT, MIDIHDR*, uint32_t) override { return kNoHandle; }
    MMRESULT midiOutLongMsg(HMIDIOUT, MIDIHDR*, uint32_t) override { return kNoHandle; }
    MMRESULT midiOutUnprepareHeader(HMIDIOUT, MIDIHDR*, uint32_t) override { return kNoHandle; }
    MMRESULT midiOutClose(HMIDIOUT) override { return kNoHandle; }
    MMRESULT midiInPrepareHeader(HMIDIIN, MIDIHDR*, uint32_t) override { return kNoHandle; }
    MMRESULT midiInAddBuffer(HMIDIIN, MIDIHDR*, uint32_t) override { return kNoHandle; }
    MMRESULT midiInStart(HMIDIIN) override { return kNoHandle; }
    MMRESULT midiInReset(HMIDIIN) override { return kNoHandle; }
    MMRESULT midiInUnprepareHeader(HMIDIIN, MIDIHDR*, uint32_t) override { return kNoHandle; }
    MMRESULT midiInClose(HMIDIIN) override { return kNoHandle; }

    MMRESULT midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) override {
        return GetStandardMidiErrorText(mmrError, pszText, cchText);
    }
    MMRESULT midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) override {
        return GetStandardMidiErrorText(mmrError, pszText, cchText);
    }

  private:
    static constexpr MMRESULT kNoDriver = MMSYSERR_NODRIVER;
    static constexpr MMRESULT kNoHandle = MMSYSERR_INVALHANDLE;
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
