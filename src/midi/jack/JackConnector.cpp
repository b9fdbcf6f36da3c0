#include "midi/jack/JackConnector.h"

#include "midi/driver/ProgramPortNames.h"
#include "midi/jack/JackInConnection.h"
#include "midi/jack/JackOutConnection.h"

jack_client_t* cJackConnector::Lister() {
    if (cJackClient::IsServerGone()) {
        ListerClient.Close();
        return nullptr;
    }
    if (ListerClient.Get() == nullptr) {
        jack_status_t eStatus{};
        ListerClient.Open(kMidiClientName, {}, eStatus);
    }
    return ListerClient.Get();
}

bool cJackConnector::IsReachable() {
    std::lock_guard<std::mutex> Lock(ListerMutex);
    return Lister() != nullptr;
}

std::vector<std::string> cJackConnector::DevicePorts(unsigned long ulPortFlags) {
    std::lock_guard<std::mutex> Lock(ListerMutex);
    jack_client_t* pClient = Lister();
    if (pClient == nullptr) {
        return {};
    }
    const char** pszPorts = jack_get_ports(pClient, nullptr, JACK_DEFAULT_MIDI_TYPE, ulPortFlags);
    std::vector<std::string> Devices;
    for (size_t i = 0; pszPorts != nullptr && pszPorts[i] != nullptr; ++i) {
        if (!IsProgramPortName(pszPorts[i])) {
            Devices.emplace_back(pszPorts[i]);
        }
    }
    jack_free(static_cast<void*>(pszPorts));
    return Devices;
}

std::vector<std::string> cJackConnector::OutDevicePorts() {
    return DevicePorts(JackPortIsInput);
}

std::vector<std::string> cJackConnector::InDevicePorts() {
    return DevicePorts(JackPortIsOutput);
}

MMRESULT cJackConnector::ConnectOut(const std::string& DevicePort, const std::string& OwnPort,
                                    std::unique_ptr<iOutConnection>& pConnection) {
    auto pOut = std::make_unique<cJackOutConnection>(Texts);
    const MMRESULT eResult = pOut->Open(DevicePort, OwnPort);
    if (eResult == MMSYSERR_NOERROR) {
        pConnection = std::move(pOut);
    }
    return eResult;
}

MMRESULT cJackConnector::ConnectIn(const std::string& DevicePort, const std::string& OwnPort,
                                   tMessageSink OnMessage, tLossSink OnLoss,
                                   std::unique_ptr<iInConnection>& pConnection) {
    auto pIn = std::make_unique<cJackInConnection>(Texts, std::move(OnMessage));
    const MMRESULT eResult = pIn->Open(DevicePort, OwnPort, std::move(OnLoss));
    if (eResult == MMSYSERR_NOERROR) {
        pConnection = std::move(pIn);
    }
    return eResult;
}
