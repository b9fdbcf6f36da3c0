#pragma once

#include <RtMidi.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"
#include "midi/driver/HandleTable.h"
#include "midi/rtmidi/RtMidiErrorFlag.h"
#include "midi/rtmidi/RtMidiInDevice.h"
#include "midi/rtmidi/RtMidiOutDevice.h"
#include "midi/rtmidi/RtMidiPortList.h"

// Real MIDI devices through RtMidi: the devices are the ports of one RtMidi API (by default
// the one ChooseMidiApi picks). Device indices stay stable while the program runs: the ports
// the program opens itself are never listed. Device names are cut to the 31 characters the
// platform record holds. Whatever RtMidi reports or throws becomes a nonzero result.
class cRtMidiBackend final : public iMidiBackend {
  public:
    cRtMidiBackend();
    explicit cRtMidiBackend(RtMidi::Api eApi);
    cRtMidiBackend(const cRtMidiBackend&) = delete;
    cRtMidiBackend& operator=(const cRtMidiBackend&) = delete;
    // Closes the devices still open.
    ~cRtMidiBackend() override;

    RtMidi::Api GetApi() const { return eApi; }
    // Whether the MIDI system answers at all (a JACK server runs, the ALSA sequencer opens).
    bool IsSystemReachable();

    uint32_t midiOutGetNumDevs() override;
    MMRESULT midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps, uint32_t cbCaps) override;
    MMRESULT midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID, tMidiOutProc pCallback,
                         uintptr_t dwInstance, uint32_t fdwOpen) override;
    MMRESULT midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) override;
    MMRESULT midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) override;
    MMRESULT midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                    uint32_t cbHeader) override;
    MMRESULT midiOutClose(HMIDIOUT hMidiOut) override;

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

  private:
    // The devices as a client of each direction sees them now; empty when RtMidi fails.
    std::vector<tRtMidiPort> ListOutDevices();
    std::vector<tRtMidiPort> ListInDevices();
    RtMidi* Lister(bool bInput);

    const RtMidi::Api eApi;
    const std::string OwnTag;

    // Two clients without ports of their own, kept for listing.
    std::mutex mListers;
    std::unique_ptr<RtMidiOut> pOutLister;
    std::unique_ptr<RtMidiIn> pInLister;
    cRtMidiErrorFlag ListerErrors;

    cHandleTable<HMIDIOUT, cRtMidiOutDevice> OpenOuts;
    cHandleTable<HMIDIIN, cRtMidiInDevice> OpenIns;
};
