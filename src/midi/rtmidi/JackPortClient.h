#pragma once

#include <jack/jack.h>

#include <atomic>
#include <string>

#include "midi/MidiPlatform.h"
#include "midi/driver/BackendErrorTexts.h"
#include "midi/rtmidi/MidiConnector.h"

// One JACK client of the program's own with one MIDI port, connected to one device's port.
// JACK tells it, on a thread of JACK's, when the server shuts down or dies and when the
// connection to the device ends (the device's port removed, its client gone, or the two
// disconnected); the first of these is kept as the client's loss and passed to the loss sink.
class cJackPortClient {
  public:
    explicit cJackPortClient(cBackendErrorTexts& Texts) : Texts(Texts) {}
    cJackPortClient(const cJackPortClient&) = delete;
    cJackPortClient& operator=(const cJackPortClient&) = delete;
    ~cJackPortClient() { Close(); }

    // Opens the client, registers a MIDI port named OwnPort (bOutput: the program sends
    // through it), lets Process run in every cycle from now on, and connects the port with
    // DevicePort. MMSYSERR_NODRIVER when no server answers, MIDIERR_NODEVICE when DevicePort
    // is not there; JACK's other refusals are recorded in words.
    MMRESULT Open(const std::string& DevicePort, const std::string& OwnPort, bool bOutput,
                  JackProcessCallback pProcess, void* pProcessArg, tLossSink OnLoss);
    // Closes the client: once it returns, Process runs no more and no loss is reported.
    void Close();

    jack_port_t* Port() const { return pPort; }
    // MMSYSERR_NOERROR while the server runs and the device is connected; otherwise
    // MMSYSERR_NODRIVER or MIDIERR_NODEVICE.
    MMRESULT Loss() const { return eLoss.load(); }

  private:
    MMRESULT OpenClient();
    MMRESULT ConnectDevice(const std::string& DevicePort, bool bOutput);
    void Lose(MMRESULT eWhy);
    static void OnShutdown(jack_status_t eCode, const char* szReason, void* pArg);
    static void OnConnect(jack_port_id_t idA, jack_port_id_t idB, int iConnected, void* pArg);

    cBackendErrorTexts& Texts;
    jack_client_t* pClient = nullptr;
    jack_port_t* pPort = nullptr;
    std::string OwnFullName;
    std::string DeviceFullName;
    tLossSink OnLoss;
    std::atomic<MMRESULT> eLoss{MMSYSERR_NOERROR};
    std::atomic<bool> bClosing{false};
};
