#pragma once

#include <RtMidi.h>

// The RtMidi API whose ports are the program's MIDI devices: ALSA where its sequencer can be
// opened, otherwise JACK, otherwise whatever else the library was built with (CoreMIDI, the
// Windows MIDI services), and the dummy API when there is nothing at all.
//
// RtMidi's own choice (RtMidi::UNSPECIFIED) cannot be used: it throws when ALSA is compiled in
// but its sequencer is missing, even when a JACK server runs. Everything that opens RtMidi
// ports for this program, the device emulator included, asks here so that all of them meet on
// the same API. Never throws.
RtMidi::Api ChooseMidiApi();
