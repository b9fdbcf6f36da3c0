#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/driver/HandleBackend.h"
#include "midi/virtual/VirtualDeviceModel.h"
#include "midi/virtual/VirtualFaults.h"

// The open devices of the virtual backend.
class cVirtualOutDevice;
class cVirtualInDevice;

// MIDI devices inside the process, for tests and for the device emulator: named input and
// output devices, every chunk sent recorded, scripted faults, and input delivered from a
// thread of the backend's own so that the ports meet real concurrency.
//
// Devices are added before use; each can be open once at a time. The index AddOutDevice and
// AddInDevice return names a device in the calls of this class; the platform's device numbers
// count only the devices still present, so they differ once a device before it is unplugged.
// Output chunks are handed back at once (MOM_DONE from the long-message call) unless a fault
// keeps them "still playing". Input given to DeliverInput reaches the open, started device on
// the input thread, where it fills the queued blocks as a driver does.
class cVirtualMidiBackend final
    : public cHandleBackend<cVirtualMidiBackend, cVirtualOutDevice, cVirtualInDevice> {
  public:
    cVirtualMidiBackend();
    cVirtualMidiBackend(const cVirtualMidiBackend&) = delete;
    cVirtualMidiBackend& operator=(const cVirtualMidiBackend&) = delete;
    // Stops the input thread. Devices still open are dropped without callbacks.
    ~cVirtualMidiBackend() override;

    // Adds a device and returns its index.
    uint32_t AddOutDevice(const std::string& Name);
    uint32_t AddInDevice(const std::string& Name);
    void SetOutFaults(uint32_t uiOutDevice, tVirtualFaults Faults);
    void SetInFaults(uint32_t uiInDevice, tVirtualFaults Faults);
    // Attaches a model (or detaches with nullptr) to an output device; the model must outlive
    // its attachment.
    void AttachModel(uint32_t uiOutDevice, iVirtualDeviceModel* pModel);
    // The device goes away as an unplugged one does: it leaves the device lists (the devices
    // after it move up one number), and if it is open it is lost: output then fails with
    // MIDIERR_NODEVICE, an input device is closed by the backend (MIM_CLOSE carrying
    // MIDIERR_NODEVICE, on the calling thread). Closing a lost device still works.
    void UnplugOutDevice(uint32_t uiOutDevice);
    void UnplugInDevice(uint32_t uiInDevice);
    // The whole MIDI system goes away: no devices are listed, opens fail and the open devices are
    // lost as if unplugged, with MMSYSERR_NODRIVER.
    void ShutDownSystem();

    // Queues one whole MIDI message (a SysEx from 0xF0 to 0xF7, or a short message) as sent by
    // the device behind input device uiInDevice. The input thread hands it over; a device that is
    // not open and started then drops it.
    void DeliverInput(uint32_t uiInDevice, std::vector<uint8_t> Message);
    // Returns once everything queued by DeliverInput so far has been handed over.
    void WaitForInput();

    // Every chunk passed on through the long-message call, per output device, across opens.
    std::vector<std::vector<uint8_t>> SentChunks(uint32_t uiOutDevice) const;
    bool IsOutOpen(uint32_t uiOutDevice) const;
    bool IsInOpen(uint32_t uiInDevice) const;
    // Blocks queued on an open input device (0 when it is not open).
    size_t QueuedInBlocks(uint32_t uiInDevice) const;
    // How many calls the ports made into this backend.
    uint32_t PlatformCalls() const { return CallCount.load(); }

  private:
    friend cHandleBackend;
    friend cVirtualOutDevice;
    friend cVirtualInDevice;
    template <typename tHandle>
    struct tDevice;
    using tOutDevice = tDevice<HMIDIOUT>;
    using tInDevice = tDevice<HMIDIIN>;
    struct tDelivery {
        uint32_t InDevice;
        std::vector<uint8_t> Message;
    };

    void RunInputThread();
    std::shared_ptr<cVirtualInDevice> FindOpenIn(uint32_t uiInDevice) const;
    void CountCall() { ++CallCount; }
    // The device list of one side, of the backend as it is (const or not).
    template <typename tHandle, typename tSelf>
    static auto& DevicesOf(tSelf& Self);
    template <typename tHandle>
    uint32_t AddDevice(const std::string& Name);
    template <typename tHandle>
    void SetFaults(uint32_t uiDevice, tVirtualFaults Faults);
    template <typename tHandle>
    bool IsOpen(uint32_t uiDevice) const;
    // With DevicesMutex held: the device that the platform's number uDeviceID names now, or null.
    template <typename tHandle>
    tDevice<tHandle>* PresentDevice(uint32_t uDeviceID);
    // The platform's device count and capabilities, of the present devices of one side.
    template <typename tHandle>
    uint32_t CountPresent();
    uint32_t CountDevices(tMidiSide eSide);
    template <typename tCaps>
    MMRESULT GetCaps(tMidiSide eSide, uint32_t uDeviceID, tCaps* pCaps, uint32_t cbCaps);
    // With DevicesMutex held: why the device (null: none of that number) cannot be opened now, or
    // MMSYSERR_NOERROR.
    template <typename tHandle>
    MMRESULT CheckDeviceToOpen(const tDevice<tHandle>* pDevice) const;
    // Opens the present device uDeviceID as a new entry of its table, then tells the opener
    // (outside the lock).
    template <typename tHandle, typename tCallback>
    MMRESULT OpenDevice(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback,
                        uintptr_t dwInstance);
    MMRESULT GetErrorText(tMidiSide eSide, MMRESULT mmrError, char* pszText, uint32_t cchText);
    // Counts a prepare call of an open device; whether its faults make this one fail.
    template <typename tHandle>
    bool PrepareFails(uint32_t& uiPrepares, uint32_t uiDevice);
    void LoseOut(tOutDevice& Device, MMRESULT eLoss);

    mutable std::mutex DevicesMutex;  // the device lists and the open devices' counters
    std::vector<tOutDevice> OutDevices;
    std::vector<tInDevice> InDevices;
    std::atomic<uint32_t> CallCount{0};
    bool SystemDown = false;

    std::mutex InputMutex;
    std::condition_variable InputChanged;
    std::deque<tDelivery> PendingInput;
    uint64_t InputQueued = 0;
    uint64_t InputHandled = 0;
    bool Stopping = false;
    std::thread InputThread;
};

extern template class cHandleBackend<cVirtualMidiBackend, cVirtualOutDevice, cVirtualInDevice>;
