#include "midi/rtmidi/RtMidiBackend.h"

#include <type_traits>

#include "midi/driver/DeviceCaps.h"
#include "midi/driver/OpenArguments.h"
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
    : eApi(eApi), OwnTag(MakeOwnTag()), pConnector(MakeConnector(eApi, eLibrary, Texts)) {}

cRtMidiBackend::~cRtMidiBackend() {
    for (const auto& pDevice : OpenIns.RemoveAll()) {
        pDevice->Blocks().Reset();
        pDevice->Close();
    }
    for (const auto& pDevice : OpenOuts.RemoveAll()) {
        pDevice->Close();
    }
}

bool cRtMidiBackend::IsSystemReachable() {
    return pConnector->IsReachable();
}

template <typename tHandle, typename tDevice, typename tCallback>
MMRESULT cRtMidiBackend::OpenDevice(cHandleTable<tHandle, tDevice>& Table, tHandle* phDevice,
                                    const std::vector<std::string>& DevicePorts, uint32_t uDeviceID,
                                    tCallback pCallback, uintptr_t dwInstance, uint32_t fdwOpen) {
    const MMRESULT eArguments = CheckOpenArguments(phDevice, fdwOpen);
    if (eArguments != MMSYSERR_NOERROR) {
        return eArguments;
    }
    if (uDeviceID >= DevicePorts.size()) {
        return pConnector->IsReachable() ? MMSYSERR_BADDEVICEID : MMSYSERR_NODRIVER;
    }
    const bool bInput = std::is_same_v<tHandle, HMIDIIN>;
    return Table.Open(phDevice, pCallback, dwInstance, [&](tDevice& Device) {
        return Device.Open(*pConnector, DevicePorts[uDeviceID], OwnPortName(OwnTag, bInput));
    });
}

// Output

uint32_t cRtMidiBackend::midiOutGetNumDevs() {
    return static_cast<uint32_t>(pConnector->OutDevicePorts().size());
}

MMRESULT cRtMidiBackend::midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps,
                                            uint32_t cbCaps) {
    return FillDeviceCaps(PortAt(pConnector->OutDevicePorts(), uDeviceID), pCaps, cbCaps);
}

MMRESULT cRtMidiBackend::midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID,
                                     tMidiOutProc pCallback, uintptr_t dwInstance,
                                     uint32_t fdwOpen) {
    return OpenDevice(OpenOuts, phMidiOut, pConnector->OutDevicePorts(), uDeviceID, pCallback,
                      dwInstance, fdwOpen);
}

MMRESULT cRtMidiBackend::midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                              uint32_t cbHeader) {
    return OpenOuts.With(hMidiOut, &cMidiOutDevice::Prepare, pHeader, cbHeader);
}

MMRESULT cRtMidiBackend::midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenOuts.With(hMidiOut, &cMidiOutDevice::LongMessage, pHeader, cbHeader);
}

MMRESULT cRtMidiBackend::midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                                uint32_t cbHeader) {
    return OpenOuts.With(hMidiOut, &cMidiOutDevice::Unprepare, pHeader, cbHeader);
}

MMRESULT cRtMidiBackend::midiOutClose(HMIDIOUT hMidiOut) {
    const std::shared_ptr<cMidiOutDevice> pDevice = OpenOuts.Remove(hMidiOut);
    if (pDevice == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    pDevice->Close();
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiBackend::midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) {
    return Texts.GetText(mmrError, pszText, cchText);
}

// Input

uint32_t cRtMidiBackend::midiInGetNumDevs() {
    return static_cast<uint32_t>(pConnector->InDevicePorts().size());
}

MMRESULT cRtMidiBackend::midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps,
                                           uint32_t cbCaps) {
    return FillDeviceCaps(PortAt(pConnector->InDevicePorts(), uDeviceID), pCaps, cbCaps);
}

MMRESULT cRtMidiBackend::midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                                    uintptr_t dwInstance, uint32_t fdwOpen) {
    return OpenDevice(OpenIns, phMidiIn, pConnector->InDevicePorts(), uDeviceID, pCallback,
                      dwInstance, fdwOpen);
}

MMRESULT cRtMidiBackend::midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenIns.With(
        hMidiIn, [&](cMidiInDevice& Device) { return Device.Blocks().Prepare(pHeader, cbHeader); });
}

MMRESULT cRtMidiBackend::midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    return OpenIns.With(
        hMidiIn, [&](cMidiInDevice& Device) { return Device.Blocks().Add(pHeader, cbHeader); });
}

MMRESULT cRtMidiBackend::midiInStart(HMIDIIN hMidiIn) {
    return OpenIns.With(hMidiIn, [](cMidiInDevice& Device) {
        Device.Blocks().Start();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT cRtMidiBackend::midiInReset(HMIDIIN hMidiIn) {
    return OpenIns.With(hMidiIn, [](cMidiInDevice& Device) {
        Device.Blocks().Reset();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT cRtMidiBackend::midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                               uint32_t cbHeader) {
    return OpenIns.With(hMidiIn, [&](cMidiInDevice& Device) {
        return Device.Blocks().Unprepare(pHeader, cbHeader);
    });
}

MMRESULT cRtMidiBackend::midiInClose(HMIDIIN hMidiIn) {
    return OpenIns.Close(hMidiIn);
}

MMRESULT cRtMidiBackend::midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) {
    return Texts.GetText(mmrError, pszText, cchText);
}
