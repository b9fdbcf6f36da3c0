#include "MIDIPort.h"

#include "MidiBackend.h"

uint32_t cMIDIPort::NumOutPorts() {
    uiNumOutPorts = MidiBackend().midiOutGetNumDevs();
    return uiNumOutPorts;
}

uint32_t cMIDIPort::NumInPorts() {
    uiNumInPorts = MidiBackend().midiInGetNumDevs();
    return uiNumInPorts;
}

const char16_t* cMIDIPort::GetOutPortNames(uint32_t uiPortIndex) {
    if (MidiBackend().midiOutGetDevCapsW(uiPortIndex, &midiOutCaps, sizeof(midiOutCaps)) !=
        MMSYSERR_NOERROR) {
        midiOutCaps = MIDIOUTCAPSW{};
    }
    return midiOutCaps.szPname;
}

const char16_t* cMIDIPort::GetInPortNames(uint32_t uiPortIndex) {
    if (MidiBackend().midiInGetDevCapsW(uiPortIndex, &midiInCaps, sizeof(midiInCaps)) !=
        MMSYSERR_NOERROR) {
        midiInCaps = MIDIINCAPSW{};
    }
    return midiInCaps.szPname;
}
