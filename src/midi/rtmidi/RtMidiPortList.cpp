#include "RtMidiPortList.h"

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
