#include "midi/rtmidi/RtMidiBackend.h"

#include "midi/driver/DeviceCaps.h"
#include "midi/driver/ProgramPortNames.h"
#include "midi/rtmidi/RtMidiApiChoice.h"
#include "midi/rtmidi/RtMidiConnector.h"
#ifdef SONGLOADER_WITH_JACK
#include "midi/jack/JackConnector.h"
#endif

namespace {

std::unique_ptr<iMidiConnector> MakeConnector(RtMidi::Api eApi, tPortLibrary eLibrary,
                                              cBackendErrorTexts& Texts) {
#ifdef SONGLOADER_WITH_JACK
    if (eApi == RtMidi::UNIX_JACK && eLibrary == PORT_LIBRARY_PREFERRED) {
        return std::make_unique<cJackConnector>(Texts);
    }
#else
    (void)eLibrary;
#endif
    return std::make_unique<cRtMidiConnector>(eApi, Texts);
}

const std::string* PortAt(const std::vector<std::string>& Ports, uint32_t uDeviceID) {
    return uDeviceID < Ports.size() ? &Ports[uDeviceID] : nullptr;
}

}  // namespace

cRtMidiBackend::cRtMidiBackend() : cRtMidiBackend(ChooseMidiApi()) {}

cRtMidiBackend::cRtMidiBackend(RtMidi::Api eApi, tPortLibrary eLibrary)
    : MidiApi(eApi), OwnTag(MakeOwnTag()), Connector(MakeConnector(eApi, eLibrary, Texts)) {}

cRtMidiBackend::~cRtMidiBackend() {
    for (const auto& pDevice : OpenIns.RemoveAll()) {
        pDevice->Reset();
        pDevice->Close();
    }
    for (const auto& pDevice : OpenOuts.RemoveAll()) {
        pDevice->Close();
    }
}

bool cRtMidiBackend::IsSystemReachable() {
    return Connector->IsReachable();
}

std::vector<std::string> cRtMidiBackend::DevicePorts(tMidiSide eSide) {
    return eSide == MIDI_SIDE_IN ? Connector->InDevicePorts() : Connector->OutDevicePorts();
}

uint32_t cRtMidiBackend::CountDevices(tMidiSide eSide) {
    return static_cast<uint32_t>(DevicePorts(eSide).size());
}

template <typename tCaps>
MMRESULT cRtMidiBackend::GetCaps(tMidiSide eSide, uint32_t uDeviceID, tCaps* pCaps,
                                 uint32_t cbCaps) {
    return FillDeviceCaps(PortAt(DevicePorts(eSide), uDeviceID), pCaps, cbCaps);
}

template <typename tHandle, typename tCallback>
MMRESULT cRtMidiBackend::OpenDevice(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback,
                                    uintptr_t dwInstance) {
    const std::vector<std::string> Ports = DevicePorts(kSideOf<tHandle>);
    if (uDeviceID >= Ports.size()) {
        return Connector->IsReachable() ? MMSYSERR_BADDEVICEID : MMSYSERR_NODRIVER;
    }
    const std::string OwnPort = OwnPortName(OwnTag, kSideOf<tHandle> == MIDI_SIDE_IN);
    return Table<tHandle>().Open(phDevice, pCallback, dwInstance, [&](auto& Device) {
        return Device.Open(*Connector, Ports[uDeviceID], OwnPort);
    });
}

MMRESULT cRtMidiBackend::GetErrorText(tMidiSide, MMRESULT mmrError, char* pszText,
                                      uint32_t cchText) {
    return Texts.GetText(mmrError, pszText, cchText);
}

template class cHandleBackend<cRtMidiBackend, cMidiOutDevice, cMidiInDevice>;
