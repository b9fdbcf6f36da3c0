#pragma once

#include <RtMidi.h>

#include <memory>
#include <string>
#include <vector>

#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/HandleBackend.h"
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
class cRtMidiBackend final : public cHandleBackend<cRtMidiBackend, cMidiOutDevice, cMidiInDevice> {
  public:
    cRtMidiBackend();
    explicit cRtMidiBackend(RtMidi::Api eApi, tPortLibrary eLibrary = PORT_LIBRARY_PREFERRED);
    cRtMidiBackend(const cRtMidiBackend&) = delete;
    cRtMidiBackend& operator=(const cRtMidiBackend&) = delete;
    // Closes the devices still open.
    ~cRtMidiBackend() override;

    RtMidi::Api GetApi() const { return MidiApi; }
    // Whether the MIDI system answers at all (a JACK server runs, the ALSA sequencer opens).
    bool IsSystemReachable();

  private:
    friend cHandleBackend;

    // The full names of the device ports of one side, in the system's order.
    std::vector<std::string> DevicePorts(tMidiSide eSide);
    uint32_t CountDevices(tMidiSide eSide);
    template <typename tCaps>
    MMRESULT GetCaps(tMidiSide eSide, uint32_t uDeviceID, tCaps* pCaps, uint32_t cbCaps);
    // Connects device uDeviceID of its side to a port of the program's own.
    template <typename tHandle, typename tCallback>
    MMRESULT OpenDevice(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback,
                        uintptr_t dwInstance);
    MMRESULT GetErrorText(tMidiSide eSide, MMRESULT mmrError, char* pszText, uint32_t cchText);

    const RtMidi::Api MidiApi;
    const std::string OwnTag;
    cBackendErrorTexts Texts;
    std::unique_ptr<iMidiConnector> Connector;
};

extern template class cHandleBackend<cRtMidiBackend, cMidiOutDevice, cMidiInDevice>;
