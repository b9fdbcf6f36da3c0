#include "midi/rtmidi/JackPortClient.h"

#include <jack/midiport.h>

#include <utility>

#include "midi/rtmidi/ProgramPortNames.h"

MMRESULT cJackPortClient::Open(const std::string& DevicePort, const std::string& OwnPort,
                               bool bOutput, JackProcessCallback pProcess, void* pProcessArg,
                               tLossSink OnLossSink) {
    OnLoss = std::move(OnLossSink);
    const MMRESULT eOpened = OpenClient();
    if (eOpened != MMSYSERR_NOERROR) {
        return eOpened;
    }
    pPort = jack_port_register(pClient, OwnPort.c_str(), JACK_DEFAULT_MIDI_TYPE,
                               bOutput ? JackPortIsOutput : JackPortIsInput, 0);
    if (pPort == nullptr) {
        Close();
        return Texts.Record("JACK could not make the port '" + OwnPort + "'.");
    }
    OwnFullName = jack_port_name(pPort);
    DeviceFullName = DevicePort;
    jack_set_process_callback(pClient, pProcess, pProcessArg);
    jack_on_info_shutdown(pClient, &cJackPortClient::OnShutdown, this);
    jack_set_port_connect_callback(pClient, &cJackPortClient::OnConnect, this);
    if (jack_activate(pClient) != 0) {
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
    jack_status_t eStatus{};
    pClient = jack_client_open(kMidiClientName, JackNoStartServer, &eStatus);
    if (pClient != nullptr) {
        return MMSYSERR_NOERROR;
    }
    if ((eStatus & JackServerFailed) != 0) {
        return MMSYSERR_NODRIVER;
    }
    return Texts.Record("The JACK server refused a new client (status 0x" +
                        std::to_string(static_cast<unsigned>(eStatus)) + ").");
}

MMRESULT cJackPortClient::ConnectDevice(const std::string& DevicePort, bool bOutput) {
    if (jack_port_by_name(pClient, DevicePort.c_str()) == nullptr) {
        return MIDIERR_NODEVICE;
    }
    const char* szSource = bOutput ? OwnFullName.c_str() : DevicePort.c_str();
    const char* szDestination = bOutput ? DevicePort.c_str() : OwnFullName.c_str();
    if (jack_connect(pClient, szSource, szDestination) != 0) {
        return Texts.Record(std::string("JACK could not connect '") + szSource + "' to '" +
                            szDestination + "'.");
    }
    return MMSYSERR_NOERROR;
}

void cJackPortClient::Close() {
    bClosing.store(true);
    if (pClient != nullptr) {
        jack_client_close(pClient);
        pClient = nullptr;
        pPort = nullptr;
    }
}

void cJackPortClient::Lose(MMRESULT eWhy) {
    MMRESULT eNone = MMSYSERR_NOERROR;
    if (eLoss.compare_exchange_strong(eNone, eWhy) && !bClosing.load() && OnLoss) {
        OnLoss(eWhy);
    }
}

void cJackPortClient::OnShutdown(jack_status_t, const char*, void* pArg) {
    static_cast<cJackPortClient*>(pArg)->Lose(MMSYSERR_NODRIVER);
}

// Runs for every connection JACK makes or breaks; only the end of this port's connection to the
// device counts.
void cJackPortClient::OnConnect(jack_port_id_t idA, jack_port_id_t idB, int iConnected,
                                void* pArg) {
    auto* pSelf = static_cast<cJackPortClient*>(pArg);
    if (iConnected != 0 || pSelf->bClosing.load()) {
        return;
    }
    const jack_port_t* pA = jack_port_by_id(pSelf->pClient, idA);
    const jack_port_t* pB = jack_port_by_id(pSelf->pClient, idB);
    if (pA == nullptr || pB == nullptr) {
        return;
    }
    const std::string NameA = jack_port_name(pA);
    const std::string NameB = jack_port_name(pB);
    if ((NameA == pSelf->OwnFullName && NameB == pSelf->DeviceFullName) ||
        (NameA == pSelf->DeviceFullName && NameB == pSelf->OwnFullName)) {
        pSelf->Lose(MIDIERR_NODEVICE);
    }
}
