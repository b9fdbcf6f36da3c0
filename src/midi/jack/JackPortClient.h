#pragma once

#include <jack/jack.h>

#include <atomic>
#include <string>

#include "midi/MidiPlatform.h"
#include "midi/driver/BackendErrorTexts.h"
#include "midi/driver/MidiConnector.h"
#include "midi/jack/JackClient.h"

// A JACK client of the program's own with one MIDI port, connected to one device's port. JACK
// tells it, on a thread of JACK's, when the server shuts down or dies and when the connection
// to the device ends (the device's port removed, its client gone, or the two disconnected); the
// first of these is kept as the client's loss and passed to the loss sink.
class cJackPortClient {
  public:
    // Runs in every cycle of the server, in JACK's process thread.
    using tProcess = void (*)(void* pPortBuffer, jack_nframes_t uiFrames, void* pArg);

    explicit cJackPortClient(cBackendErrorTexts& Texts) : Texts(Texts) {}
    cJackPortClient(const cJackPortClient&) = delete;
    cJackPortClient& operator=(const cJackPortClient&) = delete;

    // Opens the client, registers a MIDI port named OwnPort (bOutput: the program sends
    // through it), lets Process run with the port's buffer in every cycle from now on, and
    // connects the port with DevicePort. MMSYSERR_NODRIVER when no server answers,
    // MIDIERR_NODEVICE when DevicePort is not there; JACK's other refusals are recorded in
    // words.
    MMRESULT Open(const std::string& DevicePort, const std::string& OwnPort, bool bOutput,
                  tProcess pProcess, void* pProcessArg, tLossSink OnLoss);
    // Once it returns, Process runs no more and no loss is reported.
    void Close() { Client.Close(); }

    // MMSYSERR_NOERROR while the server runs and the device is connected; otherwise
    // MMSYSERR_NODRIVER or MIDIERR_NODEVICE.
    MMRESULT Loss() const;

  private:
    MMRESULT OpenClient();
    MMRESULT ConnectDevice(const std::string& DevicePort, bool bOutput);
    void Lose(MMRESULT eWhy);
    bool IsDeviceConnection(jack_port_id_t idA, jack_port_id_t idB) const;
    static void OnProcess(jack_nframes_t uiFrames, void* pArg);

    cBackendErrorTexts& Texts;
    jack_port_t* Port = nullptr;
    std::string OwnFullName;
    std::string DeviceFullName;
    tProcess ProcessCallback = nullptr;
    void* ProcessArgument = nullptr;
    tLossSink OnLoss;
    std::atomic<MMRESULT> eLoss{MMSYSERR_NOERROR};
    // Last, so that it closes first: its callbacks use everything above.
    cJackClient Client;
};
