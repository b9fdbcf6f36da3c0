#pragma once

#include <QStringList>

// The names of the MIDI devices present now, by device index.
struct tMidiDeviceNames {
    QStringList asOutPortNames;
    QStringList asInPortNames;
};

tMidiDeviceNames ListMidiDevices();
