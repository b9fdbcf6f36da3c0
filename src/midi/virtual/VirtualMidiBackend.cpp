#include "midi/virtual/VirtualMidiBackend.h"

#include <utility>

#include "midi/MidiErrorText.h"
#include "midi/SysexBytes.h"
#include "midi/driver/DeviceCaps.h"
#include "midi/driver/MidiHeaderChecks.h"
#include "midi/driver/MidiInBlockQueue.h"
#include "midi/driver/OpenArguments.h"
#include "midi/driver/SysexJoiner.h"

struct cVirtualMidiBackend::tOutDevice {
    std::string Name;
    tVirtualFaults Faults;
    HMIDIOUT hOpen{};
    bool bPresent = true;
    iVirtualDeviceModel* pModel = nullptr;
    std::vector<std::vector<uint8_t>> Chunks;
};

struct cVirtualMidiBackend::tInDevice {
    std::string Name;
    tVirtualFaults Faults;
    HMIDIIN hOpen{};
    bool bPresent = true;
};

struct cVirtualMidiBackend::tOpenOut {
    tOpenOut(uint32_t uiDevice, HMIDIOUT hSelf, tMidiOutProc pCallback, uintptr_t dwInstance)
        : uiDevice(uiDevice), hSelf(hSelf), pCallback(pCallback), dwInstance(dwInstance) {}

    void Notify(uint32_t wMsg, uintptr_t dwParam1) const {
        if (pCallback != nullptr) {
            pCallback(hSelf, wMsg, dwInstance, dwParam1, 0);
        }
    }
    void NotifyOpen() const { Notify(MOM_OPEN, 0); }

    const uint32_t uiDevice;
    const HMIDIOUT hSelf;
    const tMidiOutProc pCallback;
    const uintptr_t dwInstance;
    uint32_t uiPrepares = 0;
    uint32_t uiLongMessages = 0;
    MMRESULT eLoss = MMSYSERR_NOERROR;  // why the device went away, if it did
    cSysexJoiner Joiner;
    std::map<MIDIHDR*, uint32_t> StillPlaying;  // buffer and the polls it has left
};

struct cVirtualMidiBackend::tOpenIn {
    tOpenIn(uint32_t uiDevice, HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance)
        : uiDevice(uiDevice), Queue(hSelf, pCallback, dwInstance) {}

    void NotifyOpen() { Queue.NotifyOpen(); }

    const uint32_t uiDevice;
    cMidiInBlockQueue Queue;
    uint32_t uiPrepares = 0;
    uint32_t uiAddBuffers = 0;
    uint32_t uiClosePolls = 0;
};

cVirtualMidiBackend::cVirtualMidiBackend() : InputThread([this] { RunInputThread(); }) {}

cVirtualMidiBackend::~cVirtualMidiBackend() {
    {
        std::lock_guard<std::mutex> Lock(mInput);
        bStopping = true;
    }
    InputChanged.notify_all();
    InputThread.join();
    OpenIns.RemoveAll();
    OpenOuts.RemoveAll();
}

uint32_t cVirtualMidiBackend::AddOutDevice(const std::string& Name) {
    std::lock_guard<std::mutex> Lock(mDevices);
    OutDevices.push_back(tOutDevice{Name, {}, {}, true, nullptr, {}});
    return static_cast<uint32_t>(OutDevices.size() - 1);
}

uint32_t cVirtualMidiBackend::AddInDevice(const std::string& Name) {
    std::lock_guard<std::mutex> Lock(mDevices);
    InDevices.push_back(tInDevice{Name, {}, {}, true});
    return static_cast<uint32_t>(InDevices.size() - 1);
}

void cVirtualMidiBackend::SetOutFaults(uint32_t uiOutDevice, tVirtualFaults Faults) {
    std::lock_guard<std::mutex> Lock(mDevices);
    OutDevices.at(uiOutDevice).Faults = std::move(Faults);
}

void cVirtualMidiBackend::SetInFaults(uint32_t uiInDevice, tVirtualFaults Faults) {
    std::lock_guard<std::mutex> Lock(mDevices);
    InDevices.at(uiInDevice).Faults = std::move(Faults);
}

void cVirtualMidiBackend::AttachModel(uint32_t uiOutDevice, iVirtualDeviceModel* pModel) {
    std::lock_guard<std::mutex> Lock(mDevices);
    OutDevices.at(uiOutDevice).pModel = pModel;
}

void cVirtualMidiBackend::UnplugOutDevice(uint32_t uiOutDevice) {
    std::lock_guard<std::mutex> Lock(mDevices);
    tOutDevice& Device = OutDevices.at(uiOutDevice);
    Device.bPresent = false;
    LoseOut(Device, MIDIERR_NODEVICE);
}

void cVirtualMidiBackend::UnplugInDevice(uint32_t uiInDevice) {
    std::shared_ptr<tOpenIn> pLost;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        tInDevice& Device = InDevices.at(uiInDevice);
        Device.bPresent = false;
        pLost = OpenIns.Find(Device.hOpen);
    }
    if (pLost != nullptr) {
        pLost->Queue.NotifyLoss(MIDIERR_NODEVICE);
    }
}

void cVirtualMidiBackend::ShutDownSystem() {
    std::vector<std::shared_ptr<tOpenIn>> Lost;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        bSystemDown = true;
        for (tOutDevice& Device : OutDevices) {
            LoseOut(Device, MMSYSERR_NODRIVER);
        }
        for (tInDevice& Device : InDevices) {
            if (std::shared_ptr<tOpenIn> pLost = OpenIns.Find(Device.hOpen)) {
                Lost.push_back(std::move(pLost));
            }
        }
    }
    for (const std::shared_ptr<tOpenIn>& pLost : Lost) {
        pLost->Queue.NotifyLoss(MMSYSERR_NODRIVER);
    }
}

void cVirtualMidiBackend::LoseOut(tOutDevice& Device, MMRESULT eLoss) {
    if (const std::shared_ptr<tOpenOut> pOpen = OpenOuts.Find(Device.hOpen)) {
        if (pOpen->eLoss == MMSYSERR_NOERROR) {
            pOpen->eLoss = eLoss;
        }
    }
}

void cVirtualMidiBackend::DeliverInput(uint32_t uiInDevice, std::vector<uint8_t> Message) {
    {
        std::lock_guard<std::mutex> Lock(mInput);
        PendingInput.push_back({uiInDevice, std::move(Message)});
        ++uiInputQueued;
    }
    InputChanged.notify_all();
}

void cVirtualMidiBackend::WaitForInput() {
    std::unique_lock<std::mutex> Lock(mInput);
    const uint64_t uiTarget = uiInputQueued;
    InputChanged.wait(Lock, [&] { return uiInputHandled >= uiTarget || bStopping; });
}

void cVirtualMidiBackend::RunInputThread() {
    for (;;) {
        tDelivery Next;
        {
            std::unique_lock<std::mutex> Lock(mInput);
            InputChanged.wait(Lock, [&] { return bStopping || !PendingInput.empty(); });
            if (bStopping) {
                return;
            }
            Next = std::move(PendingInput.front());
            PendingInput.pop_front();
        }
        if (const std::shared_ptr<tOpenIn> pOpen = FindOpenIn(Next.uiInDevice)) {
            pOpen->Queue.Receive(Next.Message.data(), Next.Message.size());
        }
        {
            std::lock_guard<std::mutex> Lock(mInput);
            ++uiInputHandled;
        }
        InputChanged.notify_all();
    }
}

// A device that went away sends nothing more.
std::shared_ptr<cVirtualMidiBackend::tOpenIn> cVirtualMidiBackend::FindOpenIn(
    uint32_t uiInDevice) const {
    std::lock_guard<std::mutex> Lock(mDevices);
    if (uiInDevice >= InDevices.size() || !InDevices[uiInDevice].bPresent || bSystemDown) {
        return nullptr;
    }
    return OpenIns.Find(InDevices[uiInDevice].hOpen);
}

std::vector<std::vector<uint8_t>> cVirtualMidiBackend::SentChunks(uint32_t uiOutDevice) const {
    std::lock_guard<std::mutex> Lock(mDevices);
    return OutDevices.at(uiOutDevice).Chunks;
}

bool cVirtualMidiBackend::IsOutOpen(uint32_t uiOutDevice) const {
    std::lock_guard<std::mutex> Lock(mDevices);
    return OutDevices.at(uiOutDevice).hOpen != HMIDIOUT{};
}

bool cVirtualMidiBackend::IsInOpen(uint32_t uiInDevice) const {
    std::lock_guard<std::mutex> Lock(mDevices);
    return InDevices.at(uiInDevice).hOpen != HMIDIIN{};
}

size_t cVirtualMidiBackend::QueuedInBlocks(uint32_t uiInDevice) const {
    std::shared_ptr<tOpenIn> pOpen;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        pOpen = OpenIns.Find(InDevices.at(uiInDevice).hOpen);
    }
    return pOpen != nullptr ? pOpen->Queue.QueuedBlocks() : 0;
}

template <typename tDevice>
tDevice* cVirtualMidiBackend::PresentDevice(std::vector<tDevice>& Devices,
                                            uint32_t uDeviceID) const {
    if (bSystemDown) {
        return nullptr;
    }
    uint32_t uiNumber = 0;
    for (tDevice& Device : Devices) {
        if (Device.bPresent && uiNumber++ == uDeviceID) {
            return &Device;
        }
    }
    return nullptr;
}

template <typename tDevice, typename tCaps>
MMRESULT cVirtualMidiBackend::GetPresentCaps(std::vector<tDevice>& Devices, uint32_t uDeviceID,
                                             tCaps* pCaps, uint32_t cbCaps) {
    CountCall();
    std::lock_guard<std::mutex> Lock(mDevices);
    const tDevice* pDevice = PresentDevice(Devices, uDeviceID);
    return FillDeviceCaps(pDevice != nullptr ? &pDevice->Name : nullptr, pCaps, cbCaps);
}

template <typename tDevice>
uint32_t cVirtualMidiBackend::CountPresent(const std::vector<tDevice>& Devices) {
    CountCall();
    std::lock_guard<std::mutex> Lock(mDevices);
    uint32_t uiCount = 0;
    for (const tDevice& Device : Devices) {
        uiCount += Device.bPresent ? 1 : 0;
    }
    return bSystemDown ? 0 : uiCount;
}

template <typename tDevice>
bool cVirtualMidiBackend::PrepareFails(uint32_t& uiPrepares, const std::vector<tDevice>& Devices,
                                       uint32_t uiDevice) const {
    std::lock_guard<std::mutex> Lock(mDevices);
    return ++uiPrepares == Devices[uiDevice].Faults.uiPrepareFailsOn;
}

template <typename tDevice>
MMRESULT cVirtualMidiBackend::CheckDeviceToOpen(tDevice* pDevice) const {
    if (bSystemDown) {
        return MMSYSERR_NODRIVER;
    }
    if (pDevice == nullptr) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pDevice->Faults.eOpenResult != MMSYSERR_NOERROR) {
        return pDevice->Faults.eOpenResult;
    }
    return pDevice->hOpen != decltype(pDevice->hOpen){} ? MMSYSERR_ALLOCATED : MMSYSERR_NOERROR;
}

template <typename tDevice, typename tHandle, typename tOpen, typename tCallback>
MMRESULT cVirtualMidiBackend::OpenPresent(std::vector<tDevice>& Devices,
                                          cHandleTable<tHandle, tOpen>& Table, tHandle* phDevice,
                                          uint32_t uDeviceID, tCallback pCallback,
                                          uintptr_t dwInstance, uint32_t fdwOpen) {
    CountCall();
    const MMRESULT eArguments = CheckOpenArguments(phDevice, fdwOpen);
    if (eArguments != MMSYSERR_NOERROR) {
        return eArguments;
    }
    std::shared_ptr<tOpen> pOpen;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        tDevice* pDevice = PresentDevice(Devices, uDeviceID);
        const MMRESULT eCheck = CheckDeviceToOpen(pDevice);
        if (eCheck != MMSYSERR_NOERROR) {
            return eCheck;
        }
        const auto uiDevice = static_cast<uint32_t>(pDevice - Devices.data());
        pDevice->hOpen = Table.Add([&](tHandle hNew) {
            pOpen = std::make_shared<tOpen>(uiDevice, hNew, pCallback, dwInstance);
            return pOpen;
        });
        *phDevice = pDevice->hOpen;
    }
    pOpen->NotifyOpen();
    return MMSYSERR_NOERROR;
}

// Output

uint32_t cVirtualMidiBackend::midiOutGetNumDevs() {
    return CountPresent(OutDevices);
}

MMRESULT cVirtualMidiBackend::midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps,
                                                 uint32_t cbCaps) {
    return GetPresentCaps(OutDevices, uDeviceID, pCaps, cbCaps);
}

MMRESULT cVirtualMidiBackend::midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID,
                                          tMidiOutProc pCallback, uintptr_t dwInstance,
                                          uint32_t fdwOpen) {
    return OpenPresent(OutDevices, OpenOuts, phMidiOut, uDeviceID, pCallback, dwInstance, fdwOpen);
}

MMRESULT cVirtualMidiBackend::midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                                   uint32_t cbHeader) {
    CountCall();
    const std::shared_ptr<tOpenOut> pOpen = OpenOuts.Find(hMidiOut);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    const MMRESULT eCheck = CheckHeaderToPrepare(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    if (PrepareFails(pOpen->uiPrepares, OutDevices, pOpen->uiDevice)) {
        return MMSYSERR_NOMEM;
    }
    return MarkPrepared(pHeader, cbHeader);
}

MMRESULT cVirtualMidiBackend::midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                             uint32_t cbHeader) {
    CountCall();
    const std::shared_ptr<tOpenOut> pOpen = OpenOuts.Find(hMidiOut);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    const MMRESULT eCheck = CheckPreparedHeader(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    std::vector<std::vector<uint8_t>> Messages;
    iVirtualDeviceModel* pModel = nullptr;
    bool bDone = true;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        if (pOpen->eLoss != MMSYSERR_NOERROR) {
            return pOpen->eLoss;
        }
        tOutDevice& Device = OutDevices[pOpen->uiDevice];
        if (++pOpen->uiLongMessages == Device.Faults.uiQueueFailsOn) {
            return MIDIERR_NOTREADY;
        }
        const uint8_t* pucBytes = pHeader->lpData;
        Device.Chunks.emplace_back(pucBytes, pucBytes + pHeader->dwBufferLength);
        Messages = pOpen->Joiner.Add(pucBytes, pHeader->dwBufferLength);
        pModel = Device.pModel;
        if (Device.Faults.uiStillPlayingPolls > 0) {
            pHeader->dwFlags = (pHeader->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
            pOpen->StillPlaying[pHeader] = Device.Faults.uiStillPlayingPolls;
            bDone = false;
        } else {
            MarkDone(*pHeader);
        }
    }
    if (pModel != nullptr) {
        for (const std::vector<uint8_t>& Message : Messages) {
            if (Message.front() == kSysexStart) {
                pModel->OnOutputMessage(Message);
            }
        }
    }
    if (bDone) {
        pOpen->Notify(MOM_DONE, reinterpret_cast<uintptr_t>(pHeader));
    }
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader,
                                                     uint32_t cbHeader) {
    CountCall();
    const std::shared_ptr<tOpenOut> pOpen = OpenOuts.Find(hMidiOut);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    const MMRESULT eCheck = CheckHeaderRecord(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    bool bNowDone = false;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        const auto Playing = pOpen->StillPlaying.find(pHeader);
        if (Playing != pOpen->StillPlaying.end()) {
            if (Playing->second > 0) {
                --Playing->second;
                return MIDIERR_STILLPLAYING;
            }
            pOpen->StillPlaying.erase(Playing);
            MarkDone(*pHeader);
            bNowDone = true;
        }
        pHeader->dwFlags &= ~MHDR_PREPARED;
    }
    if (bNowDone) {
        pOpen->Notify(MOM_DONE, reinterpret_cast<uintptr_t>(pHeader));
    }
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiOutClose(HMIDIOUT hMidiOut) {
    CountCall();
    std::shared_ptr<tOpenOut> pOpen;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        pOpen = OpenOuts.Find(hMidiOut);
        if (pOpen == nullptr) {
            return MMSYSERR_INVALHANDLE;
        }
        if (!pOpen->StillPlaying.empty()) {
            return MIDIERR_STILLPLAYING;
        }
        OutDevices[pOpen->uiDevice].hOpen = HMIDIOUT{};
        OpenOuts.Remove(hMidiOut);
    }
    pOpen->Notify(MOM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiOutGetErrorText(MMRESULT mmrError, char* pszText,
                                                  uint32_t cchText) {
    CountCall();
    return GetStandardMidiErrorText(mmrError, pszText, cchText);
}

// Input

uint32_t cVirtualMidiBackend::midiInGetNumDevs() {
    return CountPresent(InDevices);
}

MMRESULT cVirtualMidiBackend::midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps,
                                                uint32_t cbCaps) {
    return GetPresentCaps(InDevices, uDeviceID, pCaps, cbCaps);
}

MMRESULT cVirtualMidiBackend::midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID,
                                         tMidiInProc pCallback, uintptr_t dwInstance,
                                         uint32_t fdwOpen) {
    return OpenPresent(InDevices, OpenIns, phMidiIn, uDeviceID, pCallback, dwInstance, fdwOpen);
}

MMRESULT cVirtualMidiBackend::midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                                  uint32_t cbHeader) {
    CountCall();
    return OpenIns.With(hMidiIn, [&](tOpenIn& Open) {
        if (PrepareFails(Open.uiPrepares, InDevices, Open.uiDevice)) {
            return MMSYSERR_NOMEM;
        }
        return Open.Queue.Prepare(pHeader, cbHeader);
    });
}

MMRESULT cVirtualMidiBackend::midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                              uint32_t cbHeader) {
    CountCall();
    const std::shared_ptr<tOpenIn> pOpen = OpenIns.Find(hMidiIn);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    std::function<void()> OnAddBuffer;
    bool bFails = false;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        const tVirtualFaults& Faults = InDevices[pOpen->uiDevice].Faults;
        bFails = ++pOpen->uiAddBuffers == Faults.uiQueueFailsOn;
        OnAddBuffer = Faults.OnAddBuffer;
    }
    if (OnAddBuffer) {
        OnAddBuffer();
    }
    if (bFails) {
        return MIDIERR_NOTREADY;
    }
    return pOpen->Queue.Add(pHeader, cbHeader);
}

MMRESULT cVirtualMidiBackend::midiInStart(HMIDIIN hMidiIn) {
    CountCall();
    return OpenIns.With(hMidiIn, [](tOpenIn& Open) {
        Open.Queue.Start();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT cVirtualMidiBackend::midiInReset(HMIDIIN hMidiIn) {
    CountCall();
    return OpenIns.With(hMidiIn, [](tOpenIn& Open) {
        Open.Queue.Reset();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT cVirtualMidiBackend::midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                                    uint32_t cbHeader) {
    CountCall();
    return OpenIns.With(hMidiIn,
                        [&](tOpenIn& Open) { return Open.Queue.Unprepare(pHeader, cbHeader); });
}

MMRESULT cVirtualMidiBackend::midiInClose(HMIDIIN hMidiIn) {
    CountCall();
    const std::shared_ptr<tOpenIn> pOpen = OpenIns.Find(hMidiIn);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        if (pOpen->uiClosePolls < InDevices[pOpen->uiDevice].Faults.uiStillPlayingPolls) {
            ++pOpen->uiClosePolls;
            return MIDIERR_STILLPLAYING;
        }
    }
    const MMRESULT eClosed = pOpen->Queue.Close();
    if (eClosed != MMSYSERR_NOERROR) {
        return eClosed;
    }
    std::lock_guard<std::mutex> Lock(mDevices);
    InDevices[pOpen->uiDevice].hOpen = HMIDIIN{};
    OpenIns.Remove(hMidiIn);
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiInGetErrorText(MMRESULT mmrError, char* pszText,
                                                 uint32_t cchText) {
    CountCall();
    return GetStandardMidiErrorText(mmrError, pszText, cchText);
}
