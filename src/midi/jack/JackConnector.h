#pragma once

#include <jack/jack.h>

#include <mutex>
#include <string>
#include <vector>

#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/MidiConnector.h"
#include "midi/jack/JackClient.h"

// The MIDI ports of a JACK server, on JACK's own API. One client without ports lists them. Each
// connection is a client of its own (JackOutConnection, JackInConnection) that learns when the
// server or the device goes away. Once the server has gone, the process lists no ports and
// opens no client any more (see JackClient.h).
class cJackConnector final : public iMidiConnector {
  public:
    explicit cJackConnector(cBackendErrorTexts& Texts) : Texts(Texts) {}
    cJackConnector(const cJackConnector&) = delete;
    cJackConnector& operator=(const cJackConnector&) = delete;

    bool IsReachable() override;
    std::vector<std::string> OutDevicePorts() override;
    std::vector<std::string> InDevicePorts() override;
    MMRESULT ConnectOut(const std::string& DevicePort, const std::string& OwnPort,
                        std::unique_ptr<iOutConnection>& pConnection) override;
    MMRESULT ConnectIn(const std::string& DevicePort, const std::string& OwnPort,
                       tMessageSink OnMessage, tLossSink OnLoss,
                       std::unique_ptr<iInConnection>& pConnection) override;

  private:
    // JackPortIsInput lists the ports that can be sent to, JackPortIsOutput those that send.
    std::vector<std::string> DevicePorts(unsigned long ulPortFlags);
    // With ListerMutex held: the listing client, made on first use; null when no server answers or
    // the server has gone.
    jack_client_t* Lister();

    cBackendErrorTexts& Texts;
    std::mutex ListerMutex;
    cJackClient ListerClient;
};
