#include "ui/MidiDeviceList.h"

#include "transfer/MIDIPort.h"

tMidiDeviceNames ListMidiDevices() {
    // A port object of its own, so the transfer's ports are never touched.
    cMIDIPort Port;
    const uint32_t uiNumOutPorts = Port.NumOutPorts();
    const uint32_t uiNumInPorts = Port.NumInPorts();
    tMidiDeviceNames Names;
    for (uint32_t i = 0; i < uiNumOutPorts; ++i) {
        Names.asOutPortNames << QString::fromUtf16(Port.GetOutPortNames(i));
    }
    for (uint32_t i = 0; i < uiNumInPorts; ++i) {
        Names.asInPortNames << QString::fromUtf16(Port.GetInPortNames(i));
    }
    return Names;
}
