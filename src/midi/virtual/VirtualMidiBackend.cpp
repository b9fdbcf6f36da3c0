#include "midi/virtual/VirtualMidiBackend.h"

#include <utility>

#include "midi/DeviceName.h"
#include "midi/driver/MidiHeaderChecks.h"
#include "midi/driver/MidiInBlockQueue.h"
#include "midi/driver/SysexJoiner.h"

struct cVirtualMidiBackend::tOutDevice {
    std::string Name;
    tVirtualFaults Faults;
    iVirtualDeviceModel* pModel = nullptr;
    std::vector<std::vector<uint8_t>> Chunks;
    HMIDIOUT hOpen{};
};

struct cVirtualMidiBackend::tInDevice {
    std::string Name;
    tVirtualFaults Faults;
    HMIDIIN hOpen{};
};

struct cVirtualMidiBackend::tOpenOut {
    uint32_t uiDevice = 0;
    HMIDIOUT hSelf{};
    tMidiOutProc pCallback = nullptr;
    uintptr_t dwInstance = 0;
    uint32_t uiPrepares = 0;
    uint32_t uiLongMessages = 0;
    cSysexJoiner Joiner;
    std::map<MIDIHDR*, uint32_t> StillPlaying;  // buffer and the polls it has left

    void Notify(uint32_t wMsg, uintptr_t dwParam1) const {
        if (pCallback != nullptr) {
            pCallback(hSelf, wMsg, dwInstance, dwParam1, 0);
        }
    }
};

struct cVirtualMidiBackend::tOpenIn {
    tOpenIn(uint32_t uiDevice, HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance)
        : uiDevice(uiDevice), Queue(hSelf, pCallback, dwInstance) {}

    uint32_t uiDevice;
    cMidiInBlockQueue Queue;
    uint32_t uiPrepares = 0;
    uint32_t uiAddBuffers = 0;
    uint32_t uiClosePolls = 0;
};

namespace {

constexpr uint8_t kSysexStart = 0xF0;

void MarkDone(MIDIHDR& Header) {
    Header.dwFlags = (Header.dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
}

}  // namespace

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
    OutDevices.push_back(tOutDevice{Name, {}, nullptr, {}, {}});
    return static_cast<uint32_t>(OutDevices.size() - 1);
}

uint32_t cVirtualMidiBackend::AddInDevice(const std::string& Name) {
    std::lock_guard<std::mutex> Lock(mDevices);
    InDevices.push_back(tInDevice{Name, {}, {}});
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

std::shared_ptr<cVirtualMidiBackend::tOpenIn> cVirtualMidiBackend::FindOpenIn(
    uint32_t uiInDevice) const {
    std::lock_guard<std::mutex> Lock(mDevices);
    if (uiInDevice >= InDevices.size()) {
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
    const std::shared_ptr<tOpenIn> pOpen = FindOpenIn(uiInDevice);
    return pOpen != nullptr ? pOpen->Queue.QueuedBlocks() : 0;
}

// Output

uint32_t cVirtualMidiBackend::midiOutGetNumDevs() {
    CountCall();
    std::lock_guard<std::mutex> Lock(mDevices);
    return static_cast<uint32_t>(OutDevices.size());
}

MMRESULT cVirtualMidiBackend::midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps,
                                                 uint32_t cbCaps) {
    CountCall();
    std::lock_guard<std::mutex> Lock(mDevices);
    if (uDeviceID >= OutDevices.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pCaps == nullptr || cbCaps < sizeof(MIDIOUTCAPSW)) {
        return MMSYSERR_INVALPARAM;
    }
    CopyDeviceName(OutDevices[uDeviceID].Name, pCaps->szPname);
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID,
                                          tMidiOutProc pCallback, uintptr_t dwInstance,
                                          uint32_t fdwOpen) {
    CountCall();
    if (phMidiOut == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *phMidiOut = HMIDIOUT{};
    if (fdwOpen != CALLBACK_FUNCTION) {
        return MMSYSERR_INVALFLAG;
    }
    std::shared_ptr<tOpenOut> pOpen;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        if (uDeviceID >= OutDevices.size()) {
            return MMSYSERR_BADDEVICEID;
        }
        tOutDevice& Device = OutDevices[uDeviceID];
        if (Device.Faults.eOpenResult != MMSYSERR_NOERROR) {
            return Device.Faults.eOpenResult;
        }
        if (Device.hOpen != HMIDIOUT{}) {
            return MMSYSERR_ALLOCATED;
        }
        Device.hOpen = OpenOuts.Add([&](HMIDIOUT hNew) {
            pOpen = std::make_shared<tOpenOut>();
            pOpen->uiDevice = uDeviceID;
            pOpen->hSelf = hNew;
            pOpen->pCallback = pCallback;
            pOpen->dwInstance = dwInstance;
            return pOpen;
        });
        *phMidiOut = Device.hOpen;
    }
    pOpen->Notify(MOM_OPEN, 0);
    return MMSYSERR_NOERROR;
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
    std::lock_guard<std::mutex> Lock(mDevices);
    if (++pOpen->uiPrepares == OutDevices[pOpen->uiDevice].Faults.uiPrepareFailsOn) {
        return MMSYSERR_NOMEM;
    }
    pHeader->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
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
    if (pHeader == nullptr || cbHeader < sizeof(MIDIHDR)) {
        return MMSYSERR_INVALPARAM;
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

// Input

uint32_t cVirtualMidiBackend::midiInGetNumDevs() {
    CountCall();
    std::lock_guard<std::mutex> Lock(mDevices);
    return static_cast<uint32_t>(InDevices.size());
}

MMRESULT cVirtualMidiBackend::midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps,
                                                uint32_t cbCaps) {
    CountCall();
    std::lock_guard<std::mutex> Lock(mDevices);
    if (uDeviceID >= InDevices.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pCaps == nullptr || cbCaps < sizeof(MIDIINCAPSW)) {
        return MMSYSERR_INVALPARAM;
    }
    CopyDeviceName(InDevices[uDeviceID].Name, pCaps->szPname);
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID,
                                         tMidiInProc pCallback, uintptr_t dwInstance,
                                         uint32_t fdwOpen) {
    CountCall();
    if (phMidiIn == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *phMidiIn = HMIDIIN{};
    if (fdwOpen != CALLBACK_FUNCTION) {
        return MMSYSERR_INVALFLAG;
    }
    std::shared_ptr<tOpenIn> pOpen;
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        if (uDeviceID >= InDevices.size()) {
            return MMSYSERR_BADDEVICEID;
        }
        tInDevice& Device = InDevices[uDeviceID];
        if (Device.Faults.eOpenResult != MMSYSERR_NOERROR) {
            return Device.Faults.eOpenResult;
        }
        if (Device.hOpen != HMIDIIN{}) {
            return MMSYSERR_ALLOCATED;
        }
        Device.hOpen = OpenIns.Add([&](HMIDIIN hNew) {
            pOpen = std::make_shared<tOpenIn>(uDeviceID, hNew, pCallback, dwInstance);
            return pOpen;
        });
        *phMidiIn = Device.hOpen;
    }
    pOpen->Queue.NotifyOpen();
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                                  uint32_t cbHeader) {
    CountCall();
    const std::shared_ptr<tOpenIn> pOpen = OpenIns.Find(hMidiIn);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    {
        std::lock_guard<std::mutex> Lock(mDevices);
        if (++pOpen->uiPrepares == InDevices[pOpen->uiDevice].Faults.uiPrepareFailsOn) {
            return MMSYSERR_NOMEM;
        }
    }
    return pOpen->Queue.Prepare(pHeader, cbHeader);
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
    const std::shared_ptr<tOpenIn> pOpen = OpenIns.Find(hMidiIn);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    pOpen->Queue.Start();
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiInReset(HMIDIIN hMidiIn) {
    CountCall();
    const std::shared_ptr<tOpenIn> pOpen = OpenIns.Find(hMidiIn);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    pOpen->Queue.Reset();
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader,
                                                    uint32_t cbHeader) {
    CountCall();
    const std::shared_ptr<tOpenIn> pOpen = OpenIns.Find(hMidiIn);
    if (pOpen == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    return pOpen->Queue.Unprepare(pHeader, cbHeader);
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
