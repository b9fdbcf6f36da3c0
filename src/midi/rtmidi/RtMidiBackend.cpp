#include "midi/rtmidi/RtMidiBackend.h"

#include <chrono>
#include <iomanip>
#include <random>
#include <sstream>

#include "midi/DeviceName.h"
#include "midi/rtmidi/RtMidiApiChoice.h"
#include "midi/rtmidi/RtMidiNames.h"

namespace {

// A tag no other program's port name carries, to tell the program's own ports in the lists.
std::string MakeOwnTag() {
    uint32_t dwRandom = 0;
    try {
        std::random_device Random;
        dwRandom = Random();
    } catch (...) {
        dwRandom =
            static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    std::ostringstream Tag;
    Tag << kRtMidiClientName << " " << std::hex << std::setw(8) << std::setfill('0') << dwRandom;
    return Tag.str();
}

template <typename tCaps>
MMRESULT FillCaps(const std::vector<tRtMidiPort>& Ports, uint32_t uDeviceID, tCaps* pCaps,
                  uint32_t cbCaps) {
    if (uDeviceID >= Ports.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pCaps == nullptr || cbCaps < sizeof(tCaps)) {
        return MMSYSERR_INVALPARAM;
    }
    CopyDeviceName(Ports[uDeviceID].Name, pCaps->szPname);
    return MMSYSERR_NOERROR;
}

}  // namespace

cRtMidiBackend::cRtMidiBackend() : cRtMidiBackend(ChooseMidiApi()) {}

cRtMidiBackend::cRtMidiBackend(RtMidi::Api eApi) : eApi(eApi), OwnTag(MakeOwnTag()) {}

cRtMidiBackend::~cRtMidiBackend() {
    for (const auto& pDevice : OpenIns.RemoveAll()) {
        pDevice->Blocks().Reset();
        pDevice->Close();
    }
    for (const auto& pDevice : OpenOuts.RemoveAll()) {
        pDevice->Close();
    }
}

RtMidi* cRtMidiBackend::Lister(bool bInput) {
    try {
        if (bInput && pInLister == nullptr) {
            pInLister = std::make_unique<RtMidiIn>(eApi, kRtMidiClientName);
            ListerErrors.Watch(*pInLister);
        }
        if (!bInput && pOutLister == nullptr) {
            pOutLister = std::make_unique<RtMidiOut>(eApi, kRtMidiClientName);
            ListerErrors.Watch(*pOutLister);
        }
    } catch (...) {
        return nullptr;
    }
    return bInput ? static_cast<RtMidi*>(pInLister.get()) : pOutLister.get();
}

std::vector<tRtMidiPort> cRtMidiBackend::ListOutDevices() {
    std::lock_guard<std::mutex> Lock(mListers);
    try {
        RtMidi* pLister = Lister(false);
        return pLister != nullptr ? ListDevicePorts(*pLister, OwnTag) : std::vector<tRtMidiPort>{};
    } catch (...) {
        return {};
    }
}

std::vector<tRtMidiPort> cRtMidiBackend::ListInDevices() {
    std::lock_guard<std::mutex> Lock(mListers);
    try {
        RtMidi* pLister = Lister(true);
        return pLister != nullptr ? ListDevicePorts(*pLister, OwnTag) : std::vector<tRtMidiPort>{};
    } catch (...) {
        return {};
    }
}

bool cRtMidiBackend::IsSystemReachable() {
    std::lock_guard<std::mutex> Lock(mListers);
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

// Output

uint32_t cRtMidiBackend::midiOutGetNumDevs() {
    return static_cast<uint32_t>(ListOutDevices().size());
}

MMRESULT cRtMidiBackend::midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps,
                                            uint32_t cbCaps) {
    return FillCaps(ListOutDevices(), uDeviceID, pCaps, cbCaps);
}

MMRESULT cRtMidiBackend::midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID,
                                     tMidiOutProc pCallback, uintptr_t dwInstance,
                                     uint32_t fdwOpen) {
    if (phMidiOut == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *phMidiOut = HMIDIOUT{};
    if (fdwOpen != CALLBACK_FUNCTION) {
        return MMSYSERR_INVALFLAG;
    }
    std::shared_ptr<cRtMidiOutDevice> pDevice;
    const HMIDIOUT hNew = OpenOuts.Add([&](HMIDIOUT hDevice) {
        pDevice = std::make_shared<cRtMidiOutDevice>(hDevice, pCallback, dwInstance);
        return pDevice;
    });
    const MMRESULT eOpened = pDevice->Open(eApi, uDeviceID, OwnTag, OwnPortName(OwnTag, false));
    if (eOpened != MMSYSERR_NOERROR) {
        OpenOuts.Remove(hNew);
        return eOpened;
    }
    *phMidiOut = hNew;
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiBackend::midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                              uint32_t cbHeader) {
    const std::shared_ptr<cRtMidiOutDevice> pDevice = OpenOuts.Find(hMidiOut);
    return pDevice != nullptr ? pDevice->Prepare(pHeader, cbHeader) : MMSYSERR_INVALHANDLE;
}

MMRESULT cRtMidiBackend::midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) {
    const std::shared_ptr<cRtMidiOutDevice> pDevice = OpenOuts.Find(hMidiOut);
    return pDevice != nullptr ? pDevice->LongMessage(pHeader, cbHeader) : MMSYSERR_INVALHANDLE;
}

MMRESULT cRtMidiBackend::midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                                uint32_t cbHeader) {
    const std::shared_ptr<cRtMidiOutDevice> pDevice = OpenOuts.Find(hMidiOut);
    return pDevice != nullptr ? pDevice->Unprepare(pHeader, cbHeader) : MMSYSERR_INVALHANDLE;
}

MMRESULT cRtMidiBackend::midiOutClose(HMIDIOUT hMidiOut) {
    const std::shared_ptr<cRtMidiOutDevice> pDevice = OpenOuts.Remove(hMidiOut);
    if (pDevice == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    pDevice->Close();
    return MMSYSERR_NOERROR;
}

// Input

uint32_t cRtMidiBackend::midiInGetNumDevs() {
    return static_cast<uint32_t>(ListInDevices().size());
}

MMRESULT cRtMidiBackend::midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps,
                                           uint32_t cbCaps) {
    return FillCaps(ListInDevices(), uDeviceID, pCaps, cbCaps);
}

MMRESULT cRtMidiBackend::midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                                    uintptr_t dwInstance, uint32_t fdwOpen) {
    if (phMidiIn == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *phMidiIn = HMIDIIN{};
    if (fdwOpen != CALLBACK_FUNCTION) {
        return MMSYSERR_INVALFLAG;
    }
    std::shared_ptr<cRtMidiInDevice> pDevice;
    const HMIDIIN hNew = OpenIns.Add([&](HMIDIIN hDevice) {
        pDevice = std::make_shared<cRtMidiInDevice>(hDevice, pCallback, dwInstance);
        return pDevice;
    });
    const MMRESULT eOpened = pDevice->Open(eApi, uDeviceID, OwnTag, OwnPortName(OwnTag, true));
    if (eOpened != MMSYSERR_NOERROR) {
        OpenIns.Remove(hNew);
        return eOpened;
    }
    *phMidiIn = hNew;
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiBackend::midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    const std::shared_ptr<cRtMidiInDevice> pDevice = OpenIns.Find(hMidiIn);
    return pDevice != nullptr ? pDevice->Blocks().Prepare(pHeader, cbHeader) : MMSYSERR_INVALHANDLE;
}

MMRESULT cRtMidiBackend::midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) {
    const std::shared_ptr<cRtMidiInDevice> pDevice = OpenIns.Find(hMidiIn);
    return pDevice != nullptr ? pDevice->Blocks().Add(pHeader, cbHeader) : MMSYSERR_INVALHANDLE;
}

MMRESULT cRtMidiBackend::midiInStart(HMIDIIN hMidiIn) {
    const std::shared_ptr<cRtMidiInDevice> pDevice = OpenIns.Find(hMidiIn);
    if (pDevice == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    pDevice->Blocks().Start();
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiBackend::midiInReset(HMIDIIN hMidiIn) {
    const std::shared_ptr<cRtMidiInDevice> pDevice = OpenIns.Find(hMidiIn);
    if (pDevice == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    pDevice->Blocks().Reset();
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiBackend::midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                               uint32_t cbHeader) {
    const std::shared_ptr<cRtMidiInDevice> pDevice = OpenIns.Find(hMidiIn);
    return pDevice != nullptr ? pDevice->Blocks().Unprepare(pHeader, cbHeader)
                              : MMSYSERR_INVALHANDLE;
}

MMRESULT cRtMidiBackend::midiInClose(HMIDIIN hMidiIn) {
    const std::shared_ptr<cRtMidiInDevice> pDevice = OpenIns.Find(hMidiIn);
    if (pDevice == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    const MMRESULT eClosed = pDevice->Close();
    if (eClosed == MMSYSERR_NOERROR) {
        OpenIns.Remove(hMidiIn);
    }
    return eClosed;
}
