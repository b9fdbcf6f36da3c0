#pragma once

#include <RtMidi.h>

#include <memory>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"
#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/HandleTable.h"
#include "midi/driver/MidiConnector.h"
#include "midi/rtmidi/MidiInDevice.h"
#include "midi/rtmidi/MidiOutDevice.h"

// Which library carries the ports of the real backend.
enum tPortLibrary : uint32_t {
    // JACK's own API when the API is JACK and the program was built with JACK: RtMidi's JACK
    // output waits for ever once the server has died. RtMidi for every other API.
    PORT_LIBRARY_PREFERRED = 0,
    // RtMidi whatever the API, so that its ports can be tested on JACK too.
    PORT_LIBRARY_RTMIDI = 1,
};

// Real MIDI devices: the ports of one RtMidi API (by default the one ChooseMidiApi picks).
// Device indices stay stable while the program runs: the ports of the program, of this and of
// every other running instance, are never listed. Device names are cut to the 31 characters
// the platform record holds. Whatever the MIDI library or system reports becomes a nonzero
// result, whose text the error-text operations give in the library's words. When the device or
// the MIDI system goes away, sends fail at once (MIDIERR_NODEVICE, MMSYSERR_NODRIVER) and, on
// JACK, an open input device is closed on its own (MIM_CLOSE carrying the same codes).
class cRtMidiBackend final : public iMidiBackend {
  public:
    cRtMidiBackend();
    explicit cRtMidiBackend(RtMidi::Api eApi, tPortLibrary eLibrary = PORT_LIBRARY_PREFERRED);
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
    // Opens device uDeviceID of DevicePorts as a new entry of Table.
    template <typename tHandle, typename tDevice, typename tCallback>
    MMRESULT OpenDevice(cHandleTable<tHandle, tDevice>& Table, tHandle* phDevice,
                        const std::vector<std::string>& DevicePorts, uint32_t uDeviceID,
                        tCallback pCallback, uintptr_t dwInstance, uint32_t fdwOpen);

    const RtMidi::Api eApi;
    const std::string OwnTag;
    cBackendErrorTexts Texts;
    std::unique_ptr<iMidiConnector> pConnector;
    cHandleTable<HMIDIOUT, cMidiOutDevice> OpenOuts;
    cHandleTable<HMIDIIN, cMidiInDevice> OpenIns;
};
