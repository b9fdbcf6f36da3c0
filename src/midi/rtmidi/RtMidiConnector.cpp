#include "midi/rtmidi/RtMidiConnector.h"

#include "midi/driver/ProgramPortNames.h"

namespace {

// Every port of the client's listing, by full name; throws what RtMidi throws.
std::vector<std::string> ListedPorts(RtMidi& Client) {
    std::vector<std::string> Ports;
    const unsigned int uiCount = Client.getPortCount();
    for (unsigned int i = 0; i < uiCount; ++i) {
        Ports.push_back(Client.getPortName(i));
    }
    return Ports;
}

// A new RtMidi client of the program (RtMidiOut or RtMidiIn) reporting to Errors; null, and
// eResult saying why, when RtMidi refuses.
template <typename tClient>
std::unique_ptr<tClient> MakeClient(RtMidi::Api eApi, cRtMidiErrorFlag& Errors,
                                    cBackendErrorTexts& Texts, MMRESULT& eResult) {
    try {
        auto pClient = std::make_unique<tClient>(eApi, kMidiClientName);
        Errors.Watch(*pClient);
        eResult = MMSYSERR_NOERROR;
        return pClient;
    } catch (const RtMidiError& Error) {
        eResult = Texts.Record(Error.getMessage());
    } catch (...) {
        eResult = MMSYSERR_ERROR;
    }
    return nullptr;
}

// Opens the client's port under OwnPort and connects it to DevicePort. Never throws.
MMRESULT OpenClientPort(RtMidi& Client, cRtMidiErrorFlag& Errors, cBackendErrorTexts& Texts,
                        const std::string& DevicePort, const std::string& OwnPort) {
    try {
        const std::vector<std::string> Ports = ListedPorts(Client);
        unsigned int uiIndex = 0;
        while (uiIndex < Ports.size() && Ports[uiIndex] != DevicePort) {
            ++uiIndex;
        }
        if (uiIndex == Ports.size()) {
            return MIDIERR_NODEVICE;
        }
        Errors.Clear();
        Client.openPort(uiIndex, OwnPort);
        if (Errors.IsRaised()) {
            return Texts.Record(Errors.Text());
        }
        return Client.isPortOpen() ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
    } catch (const RtMidiError& Error) {
        return Texts.Record(Error.getMessage());
    } catch (...) {
        return MMSYSERR_ERROR;
    }
}

// One RtMidi client of the program's (RtMidiOut or RtMidiIn) with its port connected to one
// device's port.
template <typename tClient>
class cRtMidiPortClient {
  public:
    explicit cRtMidiPortClient(cBackendErrorTexts& Texts) : Texts(Texts) {}

    // Makes the client, lets Prepare set it up, then opens its port. Never throws.
    template <typename tPrepare>
    MMRESULT Open(RtMidi::Api eApi, const std::string& DevicePort, const std::string& OwnPort,
                  tPrepare Prepare) {
        MMRESULT eResult = MMSYSERR_NOERROR;
        MidiClient = MakeClient<tClient>(eApi, ErrorFlag, Texts, eResult);
        if (MidiClient == nullptr) {
            return eResult;
        }
        Prepare(*MidiClient);
        eResult = OpenClientPort(*MidiClient, ErrorFlag, Texts, DevicePort, OwnPort);
        if (eResult != MMSYSERR_NOERROR) {
            MidiClient.reset();
        }
        return eResult;
    }

    tClient& Client() { return *MidiClient; }
    cRtMidiErrorFlag& Errors() { return ErrorFlag; }
    // Records the error RtMidi reported last and returns its code.
    MMRESULT RecordError() { return Texts.Record(ErrorFlag.Text()); }
    MMRESULT RecordError(const RtMidiError& Error) { return Texts.Record(Error.getMessage()); }

  private:
    cBackendErrorTexts& Texts;
    cRtMidiErrorFlag ErrorFlag;
    // Last, so that it goes first: an input client's thread calls back until it is gone.
    std::unique_ptr<tClient> MidiClient;
};

class cRtMidiOutConnection final : public iOutConnection {
  public:
    explicit cRtMidiOutConnection(cBackendErrorTexts& Texts) : Port(Texts) {}

    MMRESULT Open(RtMidi::Api eApi, const std::string& TheDevicePort, const std::string& OwnPort) {
        DevicePort = TheDevicePort;
        return Port.Open(eApi, DevicePort, OwnPort, [](RtMidiOut&) {});
    }

    MMRESULT Send(const std::vector<uint8_t>& Message) override {
        try {
            if (!IsDeviceListed()) {
                return MIDIERR_NODEVICE;
            }
            Port.Errors().Clear();
            Port.Client().sendMessage(Message.data(), Message.size());
        } catch (const RtMidiError& Error) {
            return Port.RecordError(Error);
        } catch (...) {
            return MMSYSERR_ERROR;
        }
        return Port.Errors().IsRaised() ? Port.RecordError() : MMSYSERR_NOERROR;
    }

  private:
    // A message to a port that has gone would go nowhere without a word from RtMidi.
    bool IsDeviceListed() {
        for (const std::string& Listed : ListedPorts(Port.Client())) {
            if (Listed == DevicePort) {
                return true;
            }
        }
        return false;
    }

    std::string DevicePort;
    cRtMidiPortClient<RtMidiOut> Port;
};

// RtMidi hands over whole messages on a thread of its own; SysEx is not ignored (RtMidi's
// default), timing clock and active sensing are.
class cRtMidiInConnection final : public iInConnection {
  public:
    cRtMidiInConnection(cBackendErrorTexts& Texts, tMessageSink OnMessage)
        : OnMessage(std::move(OnMessage)), Port(Texts) {}

    // The callback is in place before the port opens, so that nothing the device sends first
    // is queued inside RtMidi instead.
    MMRESULT Open(RtMidi::Api eApi, const std::string& DevicePort, const std::string& OwnPort) {
        return Port.Open(eApi, DevicePort, OwnPort, [this](RtMidiIn& Client) {
            Client.ignoreTypes(false, true, true);
            Client.setCallback(&cRtMidiInConnection::Receive, this);
        });
    }

  private:
    static void Receive(double, std::vector<unsigned char>* pMessage, void* pUserData) {
        if (pMessage != nullptr) {
            static_cast<cRtMidiInConnection*>(pUserData)->OnMessage(pMessage->data(),
                                                                    pMessage->size());
        }
    }

    tMessageSink OnMessage;
    cRtMidiPortClient<RtMidiIn> Port;
};

}  // namespace

cRtMidiConnector::cRtMidiConnector(RtMidi::Api eApi, cBackendErrorTexts& Texts)
    : MidiApi(eApi), Texts(Texts) {}

RtMidi* cRtMidiConnector::Lister(bool bInput) {
    MMRESULT eMade = MMSYSERR_NOERROR;
    if (bInput && InLister == nullptr) {
        InLister = MakeClient<RtMidiIn>(MidiApi, ListerErrors, Texts, eMade);
    }
    if (!bInput && OutLister == nullptr) {
        OutLister = MakeClient<RtMidiOut>(MidiApi, ListerErrors, Texts, eMade);
    }
    return bInput ? static_cast<RtMidi*>(InLister.get()) : OutLister.get();
}

std::vector<std::string> cRtMidiConnector::DevicePorts(bool bInput) {
    std::lock_guard<std::mutex> Lock(ListersMutex);
    std::vector<std::string> Devices;
    try {
        RtMidi* pLister = Lister(bInput);
        if (pLister == nullptr) {
            return {};
        }
        for (std::string& Port : ListedPorts(*pLister)) {
            if (!IsProgramPortName(Port)) {
                Devices.push_back(std::move(Port));
            }
        }
    } catch (...) {
        return {};
    }
    return Devices;
}

std::vector<std::string> cRtMidiConnector::OutDevicePorts() {
    return DevicePorts(false);
}

std::vector<std::string> cRtMidiConnector::InDevicePorts() {
    return DevicePorts(true);
}

bool cRtMidiConnector::IsReachable() {
    std::lock_guard<std::mutex> Lock(ListersMutex);
    try {
        RtMidi* pLister = Lister(false);
        if (pLister == nullptr) {
            return false;
        }
        ListerErrors.Clear();
        pLister->getPortCount();
        return !ListerErrors.IsRaised();
    } catch (...) {
        return false;
    }
}

MMRESULT cRtMidiConnector::ConnectOut(const std::string& DevicePort, const std::string& OwnPort,
                                      std::unique_ptr<iOutConnection>& pConnection) {
    auto pOut = std::make_unique<cRtMidiOutConnection>(Texts);
    const MMRESULT eResult = pOut->Open(MidiApi, DevicePort, OwnPort);
    if (eResult == MMSYSERR_NOERROR) {
        pConnection = std::move(pOut);
    }
    return eResult;
}

MMRESULT cRtMidiConnector::ConnectIn(const std::string& DevicePort, const std::string& OwnPort,
                                     tMessageSink OnMessage, tLossSink,
                                     std::unique_ptr<iInConnection>& pConnection) {
    auto pIn = std::make_unique<cRtMidiInConnection>(Texts, std::move(OnMessage));
    const MMRESULT eResult = pIn->Open(MidiApi, DevicePort, OwnPort);
    if (eResult == MMSYSERR_NOERROR) {
        pConnection = std::move(pIn);
    }
    return eResult;
}
