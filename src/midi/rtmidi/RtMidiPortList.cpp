#include "midi/rtmidi/RtMidiPortList.h"

#include "midi/rtmidi/RtMidiErrorFlag.h"

std::vector<tRtMidiPort> ListDevicePorts(RtMidi& Client, const std::string& OwnTag) {
    std::vector<tRtMidiPort> Ports;
    const unsigned int uiCount = Client.getPortCount();
    for (unsigned int i = 0; i < uiCount; ++i) {
        std::string Name = Client.getPortName(i);
        if (Name.find(OwnTag) == std::string::npos) {
            Ports.push_back({i, std::move(Name)});
        }
    }
    return Ports;
}

MMRESULT OpenDevicePort(RtMidi& Client, cRtMidiErrorFlag& Errors, uint32_t uiDevice,
                        const std::string& OwnTag, const std::string& PortName) {
    try {
        const std::vector<tRtMidiPort> Ports = ListDevicePorts(Client, OwnTag);
        if (uiDevice >= Ports.size()) {
            return MMSYSERR_BADDEVICEID;
        }
        Errors.Clear();
        Client.openPort(Ports[uiDevice].uiRtMidiIndex, PortName);
        return Errors.IsRaised() || !Client.isPortOpen() ? MMSYSERR_ERROR : MMSYSERR_NOERROR;
    } catch (...) {
        return MMSYSERR_ERROR;
    }
}
