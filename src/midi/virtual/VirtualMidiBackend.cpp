#include "midi/virtual/VirtualMidiBackend.h"

#include <type_traits>
#include <utility>

#include "midi/MidiErrorText.h"
#include "midi/SysexBytes.h"
#include "midi/driver/DeviceCaps.h"
#include "midi/driver/MidiHeaderChecks.h"
#include "midi/driver/MidiInBlockQueue.h"
#include "midi/driver/SysexJoiner.h"

template <typename tHandle>
struct cVirtualMidiBackend::tDevice {
    std::string Name;
    tVirtualFaults Faults;
    tHandle OpenHandle{};
    bool Present = true;
    iVirtualDeviceModel* Model = nullptr;      // output devices only
    std::vector<std::vector<uint8_t>> Chunks;  // output devices only
};

// An open output device: what its long-message calls pass on, and the buffers that a fault
// keeps "still playing".
class cVirtualOutDevice {
  public:
    cVirtualOutDevice(cVirtualMidiBackend& Backend, uint32_t uiDevice, HMIDIOUT hSelf,
                      tMidiOutProc pCallback, uintptr_t dwInstance)
        : DeviceIndex(uiDevice),
          Backend(Backend),
          Handle(hSelf),
          Callback(pCallback),
          dwInstance(dwInstance) {}

    void NotifyOpen() const { Notify(MOM_OPEN, 0); }
    MMRESULT Prepare(MIDIHDR* pHeader);
    MMRESULT Queue(MIDIHDR* pHeader);
    MMRESULT Unprepare(MIDIHDR* pHeader);
    MMRESULT Close();

    const uint32_t DeviceIndex;
    MMRESULT Loss = MMSYSERR_NOERROR;  // why the device went away, if it did

  private:
    void Notify(uint32_t wMsg, uintptr_t dwParam1) const {
        if (Callback != nullptr) {
            Callback(Handle, wMsg, dwInstance, dwParam1, 0);
        }
    }
    // With the backend's lock held: hands the chunk to the device and marks it done, or keeps
    // it still playing; the whole messages it completes.
    std::vector<std::vector<uint8_t>> Pass(MIDIHDR& Header, bool& bDone);
    // Hands the whole SysEx messages to the device's model, if it has one.
    static void Show(iVirtualDeviceModel* pModel,
                     const std::vector<std::vector<uint8_t>>& Messages);

    cVirtualMidiBackend& Backend;
    const HMIDIOUT Handle;
    const tMidiOutProc Callback;
    const uintptr_t dwInstance;
    uint32_t Prepares = 0;
    uint32_t LongMessages = 0;
    cSysexJoiner Joiner;
    std::map<MIDIHDR*, uint32_t> StillPlaying;  // buffer and the polls it has left
};

// An open input device: the block queue of a driver, with the device's faults acted out
// first in its prepare, add-buffer and close calls.
class cVirtualInDevice : public cMidiInBlockQueue {
  public:
    cVirtualInDevice(cVirtualMidiBackend& Backend, uint32_t uiDevice, HMIDIIN hSelf,
                     tMidiInProc pCallback, uintptr_t dwInstance)
        : cMidiInBlockQueue(hSelf, pCallback, dwInstance),
          DeviceIndex(uiDevice),
          Backend(Backend) {}

    MMRESULT Prepare(MIDIHDR* pHeader);
    MMRESULT Queue(MIDIHDR* pHeader);
    MMRESULT Close();

    const uint32_t DeviceIndex;

  private:
    cVirtualMidiBackend& Backend;
    uint32_t Prepares = 0;
    uint32_t AddBuffers = 0;
    uint32_t ClosePolls = 0;
};

cVirtualMidiBackend::cVirtualMidiBackend() : InputThread([this] { RunInputThread(); }) {}

cVirtualMidiBackend::~cVirtualMidiBackend() {
    {
        std::lock_guard<std::mutex> Lock(InputMutex);
        Stopping = true;
    }
    InputChanged.notify_all();
    InputThread.join();
    OpenIns.RemoveAll();
    OpenOuts.RemoveAll();
}

template <typename tHandle, typename tSelf>
auto& cVirtualMidiBackend::DevicesOf(tSelf& Self) {
    if constexpr (kSideOf<tHandle> == MIDI_SIDE_IN) {
        return Self.InDevices;
    } else {
        return Self.OutDevices;
    }
}

template <typename tHandle>
uint32_t cVirtualMidiBackend::AddDevice(const std::string& Name) {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    DevicesOf<tHandle>(*this).emplace_back().Name = Name;
    return static_cast<uint32_t>(DevicesOf<tHandle>(*this).size() - 1);
}

uint32_t cVirtualMidiBackend::AddOutDevice(const std::string& Name) {
    return AddDevice<HMIDIOUT>(Name);
}

uint32_t cVirtualMidiBackend::AddInDevice(const std::string& Name) {
    return AddDevice<HMIDIIN>(Name);
}

template <typename tHandle>
void cVirtualMidiBackend::SetFaults(uint32_t uiDevice, tVirtualFaults Faults) {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    DevicesOf<tHandle>(*this).at(uiDevice).Faults = std::move(Faults);
}

void cVirtualMidiBackend::SetOutFaults(uint32_t uiOutDevice, tVirtualFaults Faults) {
    SetFaults<HMIDIOUT>(uiOutDevice, std::move(Faults));
}

void cVirtualMidiBackend::SetInFaults(uint32_t uiInDevice, tVirtualFaults Faults) {
    SetFaults<HMIDIIN>(uiInDevice, std::move(Faults));
}

void cVirtualMidiBackend::AttachModel(uint32_t uiOutDevice, iVirtualDeviceModel* pModel) {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    OutDevices.at(uiOutDevice).Model = pModel;
}

void cVirtualMidiBackend::UnplugOutDevice(uint32_t uiOutDevice) {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    tOutDevice& Device = OutDevices.at(uiOutDevice);
    Device.Present = false;
    LoseOut(Device, MIDIERR_NODEVICE);
}

void cVirtualMidiBackend::UnplugInDevice(uint32_t uiInDevice) {
    std::shared_ptr<cVirtualInDevice> pLost;
    {
        std::lock_guard<std::mutex> Lock(DevicesMutex);
        tInDevice& Device = InDevices.at(uiInDevice);
        Device.Present = false;
        pLost = OpenIns.Find(Device.OpenHandle);
    }
    if (pLost != nullptr) {
        pLost->NotifyLoss(MIDIERR_NODEVICE);
    }
}

void cVirtualMidiBackend::ShutDownSystem() {
    std::vector<std::shared_ptr<cVirtualInDevice>> Lost;
    {
        std::lock_guard<std::mutex> Lock(DevicesMutex);
        SystemDown = true;
        for (tOutDevice& Device : OutDevices) {
            LoseOut(Device, MMSYSERR_NODRIVER);
        }
        for (tInDevice& Device : InDevices) {
            if (std::shared_ptr<cVirtualInDevice> pLost = OpenIns.Find(Device.OpenHandle)) {
                Lost.push_back(std::move(pLost));
            }
        }
    }
    for (const std::shared_ptr<cVirtualInDevice>& pLost : Lost) {
        pLost->NotifyLoss(MMSYSERR_NODRIVER);
    }
}

void cVirtualMidiBackend::LoseOut(tOutDevice& Device, MMRESULT eLoss) {
    if (const std::shared_ptr<cVirtualOutDevice> pOpen = OpenOuts.Find(Device.OpenHandle)) {
        if (pOpen->Loss == MMSYSERR_NOERROR) {
            pOpen->Loss = eLoss;
        }
    }
}

void cVirtualMidiBackend::DeliverInput(uint32_t uiInDevice, std::vector<uint8_t> Message) {
    {
        std::lock_guard<std::mutex> Lock(InputMutex);
        PendingInput.push_back({uiInDevice, std::move(Message)});
        ++InputQueued;
    }
    InputChanged.notify_all();
}

void cVirtualMidiBackend::WaitForInput() {
    std::unique_lock<std::mutex> Lock(InputMutex);
    const uint64_t uiTarget = InputQueued;
    InputChanged.wait(Lock, [&] { return InputHandled >= uiTarget || Stopping; });
}

void cVirtualMidiBackend::RunInputThread() {
    for (;;) {
        tDelivery Next;
        {
            std::unique_lock<std::mutex> Lock(InputMutex);
            InputChanged.wait(Lock, [&] { return Stopping || !PendingInput.empty(); });
            if (Stopping) {
                return;
            }
            Next = std::move(PendingInput.front());
            PendingInput.pop_front();
        }
        if (const std::shared_ptr<cVirtualInDevice> pOpen = FindOpenIn(Next.InDevice)) {
            pOpen->Receive(Next.Message.data(), Next.Message.size());
        }
        {
            std::lock_guard<std::mutex> Lock(InputMutex);
            ++InputHandled;
        }
        InputChanged.notify_all();
    }
}

// A device that went away sends nothing more.
std::shared_ptr<cVirtualInDevice> cVirtualMidiBackend::FindOpenIn(uint32_t uiInDevice) const {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    if (uiInDevice >= InDevices.size() || !InDevices[uiInDevice].Present || SystemDown) {
        return nullptr;
    }
    return OpenIns.Find(InDevices[uiInDevice].OpenHandle);
}

std::vector<std::vector<uint8_t>> cVirtualMidiBackend::SentChunks(uint32_t uiOutDevice) const {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    return OutDevices.at(uiOutDevice).Chunks;
}

template <typename tHandle>
bool cVirtualMidiBackend::IsOpen(uint32_t uiDevice) const {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    return DevicesOf<tHandle>(*this).at(uiDevice).OpenHandle != tHandle{};
}

bool cVirtualMidiBackend::IsOutOpen(uint32_t uiOutDevice) const {
    return IsOpen<HMIDIOUT>(uiOutDevice);
}

bool cVirtualMidiBackend::IsInOpen(uint32_t uiInDevice) const {
    return IsOpen<HMIDIIN>(uiInDevice);
}

size_t cVirtualMidiBackend::QueuedInBlocks(uint32_t uiInDevice) const {
    std::shared_ptr<cVirtualInDevice> pOpen;
    {
        std::lock_guard<std::mutex> Lock(DevicesMutex);
        pOpen = OpenIns.Find(InDevices.at(uiInDevice).OpenHandle);
    }
    return pOpen != nullptr ? pOpen->QueuedBlocks() : 0;
}

template <typename tHandle>
cVirtualMidiBackend::tDevice<tHandle>* cVirtualMidiBackend::PresentDevice(uint32_t uDeviceID) {
    if (SystemDown) {
        return nullptr;
    }
    uint32_t uiNumber = 0;
    for (tDevice<tHandle>& Device : DevicesOf<tHandle>(*this)) {
        if (Device.Present && uiNumber++ == uDeviceID) {
            return &Device;
        }
    }
    return nullptr;
}

template <typename tHandle>
uint32_t cVirtualMidiBackend::CountPresent() {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    uint32_t uiCount = 0;
    for (const tDevice<tHandle>& Device : DevicesOf<tHandle>(*this)) {
        uiCount += Device.Present ? 1 : 0;
    }
    return SystemDown ? 0 : uiCount;
}

uint32_t cVirtualMidiBackend::CountDevices(tMidiSide eSide) {
    return eSide == MIDI_SIDE_IN ? CountPresent<HMIDIIN>() : CountPresent<HMIDIOUT>();
}

template <typename tCaps>
MMRESULT cVirtualMidiBackend::GetCaps(tMidiSide eSide, uint32_t uDeviceID, tCaps* pCaps,
                                      uint32_t cbCaps) {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    const std::string* pName = nullptr;
    if (eSide == MIDI_SIDE_IN) {
        const tInDevice* pDevice = PresentDevice<HMIDIIN>(uDeviceID);
        pName = pDevice != nullptr ? &pDevice->Name : nullptr;
    } else {
        const tOutDevice* pDevice = PresentDevice<HMIDIOUT>(uDeviceID);
        pName = pDevice != nullptr ? &pDevice->Name : nullptr;
    }
    return FillDeviceCaps(pName, pCaps, cbCaps);
}

template <typename tHandle>
MMRESULT cVirtualMidiBackend::CheckDeviceToOpen(const tDevice<tHandle>* pDevice) const {
    if (SystemDown) {
        return MMSYSERR_NODRIVER;
    }
    if (pDevice == nullptr) {
        return MMSYSERR_BADDEVICEID;
    }
    if (pDevice->Faults.eOpenResult != MMSYSERR_NOERROR) {
        return pDevice->Faults.eOpenResult;
    }
    return pDevice->OpenHandle != tHandle{} ? MMSYSERR_ALLOCATED : MMSYSERR_NOERROR;
}

template <typename tHandle, typename tCallback>
MMRESULT cVirtualMidiBackend::OpenDevice(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback,
                                         uintptr_t dwInstance) {
    using tOpen =
        std::conditional_t<kSideOf<tHandle> == MIDI_SIDE_IN, cVirtualInDevice, cVirtualOutDevice>;
    std::shared_ptr<tOpen> pOpen;
    {
        std::lock_guard<std::mutex> Lock(DevicesMutex);
        tDevice<tHandle>* pDevice = PresentDevice<tHandle>(uDeviceID);
        const MMRESULT eCheck = CheckDeviceToOpen(pDevice);
        if (eCheck != MMSYSERR_NOERROR) {
            return eCheck;
        }
        const auto uiDevice = static_cast<uint32_t>(pDevice - DevicesOf<tHandle>(*this).data());
        pDevice->OpenHandle = Table<tHandle>().Add([&](tHandle hNew) {
            pOpen = std::make_shared<tOpen>(*this, uiDevice, hNew, pCallback, dwInstance);
            return pOpen;
        });
        *phDevice = pDevice->OpenHandle;
    }
    pOpen->NotifyOpen();
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualMidiBackend::GetErrorText(tMidiSide, MMRESULT mmrError, char* pszText,
                                           uint32_t cchText) {
    return GetStandardMidiErrorText(mmrError, pszText, cchText);
}

template <typename tHandle>
bool cVirtualMidiBackend::PrepareFails(uint32_t& uiPrepares, uint32_t uiDevice) {
    std::lock_guard<std::mutex> Lock(DevicesMutex);
    return ++uiPrepares == DevicesOf<tHandle>(*this)[uiDevice].Faults.uiPrepareFailsOn;
}

template class cHandleBackend<cVirtualMidiBackend, cVirtualOutDevice, cVirtualInDevice>;

// Output

MMRESULT cVirtualOutDevice::Prepare(MIDIHDR* pHeader) {
    if (Backend.PrepareFails<HMIDIOUT>(Prepares, DeviceIndex)) {
        return MMSYSERR_NOMEM;
    }
    return MarkPrepared(pHeader);
}

MMRESULT cVirtualOutDevice::Queue(MIDIHDR* pHeader) {
    std::vector<std::vector<uint8_t>> Messages;
    iVirtualDeviceModel* pModel = nullptr;
    bool bDone = true;
    {
        std::lock_guard<std::mutex> Lock(Backend.DevicesMutex);
        if (Loss != MMSYSERR_NOERROR) {
            return Loss;
        }
        cVirtualMidiBackend::tOutDevice& Device = Backend.OutDevices[DeviceIndex];
        if (++LongMessages == Device.Faults.uiQueueFailsOn) {
            return MIDIERR_NOTREADY;
        }
        Messages = Pass(*pHeader, bDone);
        pModel = Device.Model;
    }
    Show(pModel, Messages);
    if (bDone) {
        Notify(MOM_DONE, reinterpret_cast<uintptr_t>(pHeader));
    }
    return MMSYSERR_NOERROR;
}

std::vector<std::vector<uint8_t>> cVirtualOutDevice::Pass(MIDIHDR& Header, bool& bDone) {
    cVirtualMidiBackend::tOutDevice& Device = Backend.OutDevices[DeviceIndex];
    const uint8_t* pucBytes = Header.lpData;
    Device.Chunks.emplace_back(pucBytes, pucBytes + Header.dwBufferLength);
    bDone = Device.Faults.StillPlayingPolls == 0;
    if (bDone) {
        MarkDone(Header);
    } else {
        Header.dwFlags = (Header.dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
        StillPlaying[&Header] = Device.Faults.StillPlayingPolls;
    }
    return Joiner.Add(pucBytes, Header.dwBufferLength);
}

void cVirtualOutDevice::Show(iVirtualDeviceModel* pModel,
                             const std::vector<std::vector<uint8_t>>& Messages) {
    if (pModel == nullptr) {
        return;
    }
    for (const std::vector<uint8_t>& Message : Messages) {
        if (Message.front() == kSysexStart) {
            pModel->OnOutputMessage(Message);
        }
    }
}

MMRESULT cVirtualOutDevice::Unprepare(MIDIHDR* pHeader) {
    bool bNowDone = false;
    {
        std::lock_guard<std::mutex> Lock(Backend.DevicesMutex);
        const auto Playing = StillPlaying.find(pHeader);
        if (Playing != StillPlaying.end()) {
            if (Playing->second > 0) {
                --Playing->second;
                return MIDIERR_STILLPLAYING;
            }
            StillPlaying.erase(Playing);
            MarkDone(*pHeader);
            bNowDone = true;
        }
        pHeader->dwFlags &= ~MHDR_PREPARED;
    }
    if (bNowDone) {
        Notify(MOM_DONE, reinterpret_cast<uintptr_t>(pHeader));
    }
    return MMSYSERR_NOERROR;
}

MMRESULT cVirtualOutDevice::Close() {
    {
        std::lock_guard<std::mutex> Lock(Backend.DevicesMutex);
        if (!StillPlaying.empty()) {
            return MIDIERR_STILLPLAYING;
        }
        Backend.OutDevices[DeviceIndex].OpenHandle = HMIDIOUT{};
    }
    Notify(MOM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

// Input

MMRESULT cVirtualInDevice::Prepare(MIDIHDR* pHeader) {
    if (Backend.PrepareFails<HMIDIIN>(Prepares, DeviceIndex)) {
        return MMSYSERR_NOMEM;
    }
    return cMidiInBlockQueue::Prepare(pHeader);
}

MMRESULT cVirtualInDevice::Queue(MIDIHDR* pHeader) {
    std::function<void()> OnAddBuffer;
    bool bFails = false;
    {
        std::lock_guard<std::mutex> Lock(Backend.DevicesMutex);
        const tVirtualFaults& Faults = Backend.InDevices[DeviceIndex].Faults;
        bFails = ++AddBuffers == Faults.uiQueueFailsOn;
        OnAddBuffer = Faults.OnAddBuffer;
    }
    if (OnAddBuffer) {
        OnAddBuffer();
    }
    if (bFails) {
        return MIDIERR_NOTREADY;
    }
    return cMidiInBlockQueue::Queue(pHeader);
}

MMRESULT cVirtualInDevice::Close() {
    {
        std::lock_guard<std::mutex> Lock(Backend.DevicesMutex);
        if (ClosePolls < Backend.InDevices[DeviceIndex].Faults.StillPlayingPolls) {
            ++ClosePolls;
            return MIDIERR_STILLPLAYING;
        }
    }
    const MMRESULT eClosed = cMidiInBlockQueue::Close();
    if (eClosed != MMSYSERR_NOERROR) {
        return eClosed;
    }
    std::lock_guard<std::mutex> Lock(Backend.DevicesMutex);
    Backend.InDevices[DeviceIndex].OpenHandle = HMIDIIN{};
    return MMSYSERR_NOERROR;
}
