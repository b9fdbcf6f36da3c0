#pragma once

#include <cstdint>

#include "MIDIInPort.h"
#include "MIDIOutPort.h"
#include "MidiPlatform.h"

// The program's MIDI port pair, and the listing of the devices it can open. Device indices are
// positions in these lists, zero-based and separate for output and input.
class cMIDIPort : public cMIDIOutPort, public cMIDIInPort {
  public:
    uint32_t NumOutPorts();
    uint32_t NumInPorts();
    // The name of a device, as UTF-16 text of at most 31 characters. The text lives in this
    // object until the next name query of the same direction; copy it at once. A device whose
    // name cannot be had (a bad index, a device gone since counting) gets an empty name.
    const char16_t* GetOutPortNames(uint32_t uiPortIndex);
    const char16_t* GetInPortNames(uint32_t uiPortIndex);

  private:
    uint32_t uiNumInPorts = 0;
    uint32_t uiNumOutPorts = 0;
    MIDIOUTCAPSW midiOutCaps;
    MIDIINCAPSW midiInCaps;
};
