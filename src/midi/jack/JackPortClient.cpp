#include "midi/jack/JackPortClient.h"

#include <cstdio>
#include <string>
#include <utility>

#include "midi/driver/ProgramPortNames.h"

MMRESULT cJackPortClient::Open(const std::string& DevicePort, const std::string& OwnPort,
                               bool bOutput, tProcess pTheProcess, void* pTheProcessArg,
                               tLossSink OnLossSink) {
    ProcessCallback = pTheProcess;
    ProcessArgument = pTheProcessArg;
    OnLoss = std::move(OnLossSink);
    DeviceFullName = DevicePort;
    const MMRESULT eOpened = OpenClient();
    if (eOpened != MMSYSERR_NOERROR) {
        return eOpened;
    }
    Port = jack_port_register(Client.Get(), OwnPort.c_str(), JACK_DEFAULT_MIDI_TYPE,
                              bOutput ? JackPortIsOutput : JackPortIsInput, 0);
    if (Port == nullptr) {
        Close();
        return Texts.Record("JACK could not make the port '" + OwnPort + "'.");
    }
    OwnFullName = jack_port_name(Port);
    if (jack_activate(Client.Get()) != 0) {
        Close();
        return Texts.Record("JACK could not start the client of the port '" + OwnPort + "'.");
    }
    const MMRESULT eConnected = ConnectDevice(DevicePort, bOutput);
    if (eConnected != MMSYSERR_NOERROR) {
        Close();
    }
    return eConnected;
}

MMRESULT cJackPortClient::OpenClient() {
    tJackHandlers Handlers;
    Handlers.OnServerGone = [this] { Lose(MMSYSERR_NODRIVER); };
    Handlers.pProcess = &cJackPortClient::OnProcess;
    Handlers.ProcessArg = this;
    // Only the end of this port's connection to the device counts.
    Handlers.OnConnect = [this](jack_port_id_t idA, jack_port_id_t idB, bool bConnected) {
        if (!bConnected && IsDeviceConnection(idA, idB)) {
            Lose(MIDIERR_NODEVICE);
        }
    };
    jack_status_t eStatus{};
    if (Client.Open(kMidiClientName, std::move(Handlers), eStatus)) {
        return MMSYSERR_NOERROR;
    }
    if (Client.NoAnswer()) {
        return Texts.Record(
            "The JACK server does not answer; a program on it may be stopped in the middle of "
            "opening a client.");
    }
    // A server that cannot be reached, or that breaks off while the client opens, is gone.
    if ((eStatus & (JackServerFailed | JackServerError)) != 0) {
        return MMSYSERR_NODRIVER;
    }
    char szStatus[16];
    std::snprintf(szStatus, sizeof szStatus, "0x%x", static_cast<unsigned>(eStatus));
    return Texts.Record(std::string("The JACK server refused a new client (status ") + szStatus +
                        ").");
}

MMRESULT cJackPortClient::ConnectDevice(const std::string& DevicePort, bool bOutput) {
    if (jack_port_by_name(Client.Get(), DevicePort.c_str()) == nullptr) {
        return MIDIERR_NODEVICE;
    }
    const std::string& Source = bOutput ? OwnFullName : DevicePort;
    const std::string& Destination = bOutput ? DevicePort : OwnFullName;
    if (jack_connect(Client.Get(), Source.c_str(), Destination.c_str()) != 0) {
        return Texts.Record("JACK could not connect '" + Source + "' to '" + Destination + "'.");
    }
    return MMSYSERR_NOERROR;
}

MMRESULT cJackPortClient::Loss() const {
    const MMRESULT eKnown = eLoss.load();
    if (eKnown == MMSYSERR_NOERROR && Client.IsServerGone()) {
        return MMSYSERR_NODRIVER;
    }
    return eKnown;
}

void cJackPortClient::Lose(MMRESULT eWhy) {
    MMRESULT eNone = MMSYSERR_NOERROR;
    if (eLoss.compare_exchange_strong(eNone, eWhy) && OnLoss) {
        OnLoss(eWhy);
    }
}

void cJackPortClient::OnProcess(jack_nframes_t uiFrames, void* pArg) {
    auto* pSelf = static_cast<cJackPortClient*>(pArg);
    pSelf->ProcessCallback(jack_port_get_buffer(pSelf->Port, uiFrames), uiFrames,
                           pSelf->ProcessArgument);
}

bool cJackPortClient::IsDeviceConnection(jack_port_id_t idA, jack_port_id_t idB) const {
    const jack_port_t* pA = jack_port_by_id(Client.Get(), idA);
    const jack_port_t* pB = jack_port_by_id(Client.Get(), idB);
    if (pA == nullptr || pB == nullptr) {
        return false;
    }
    const std::string NameA = jack_port_name(pA);
    const std::string NameB = jack_port_name(pB);
    return (NameA == OwnFullName && NameB == DeviceFullName) ||
           (NameA == DeviceFullName && NameB == OwnFullName);
}
