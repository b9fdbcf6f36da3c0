#pragma once

#include <RtMidi.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/MidiConnector.h"
#include "midi/rtmidi/RtMidiErrorFlag.h"

// The ports of one RtMidi API. Each connection is an RtMidi client of its own; two more clients
// without ports are kept for listing. RtMidi tells of no device that goes away, so an output
// connection looks for its device in the list before every message; an input connection
// learns of nothing and simply receives no more. Whatever RtMidi reports or throws becomes a
// failure with RtMidi's words.
class cRtMidiConnector final : public iMidiConnector {
  public:
    cRtMidiConnector(RtMidi::Api eApi, cBackendErrorTexts& Texts);

    bool IsReachable() override;
    std::vector<std::string> OutDevicePorts() override;
    std::vector<std::string> InDevicePorts() override;
    MMRESULT ConnectOut(const std::string& DevicePort, const std::string& OwnPort,
                        std::unique_ptr<iOutConnection>& pConnection) override;
    MMRESULT ConnectIn(const std::string& DevicePort, const std::string& OwnPort,
                       tMessageSink OnMessage, tLossSink OnLoss,
                       std::unique_ptr<iInConnection>& pConnection) override;

  private:
    std::vector<std::string> DevicePorts(bool bInput);
    // With ListersMutex held: the listing client of a direction, made on first use; null when
    // RtMidi fails.
    RtMidi* Lister(bool bInput);

    const RtMidi::Api MidiApi;
    cBackendErrorTexts& Texts;
    std::mutex ListersMutex;
    std::unique_ptr<RtMidiOut> OutLister;
    std::unique_ptr<RtMidiIn> InLister;
    cRtMidiErrorFlag ListerErrors;
};
