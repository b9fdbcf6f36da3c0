#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "midi/MidiPlatform.h"

// Input port state as the driver callback keeps it; one for the process.
enum tMIDIInPortState : uint32_t {
    MIDI_IN_OPEN = 1,
    MIDI_IN_CLOSED = 2,
    MIDI_IN_STORING = 3,
};

// The one MIDI input device of the process. Open queues uiNumberOfBuffers receive blocks of
// uiBlockSize bytes; the driver callback copies every SysEx byte the blocks bring back into a
// class-wide 2048-byte ring and re-queues the block, while the UI thread polls the ring.
//
// The ring is a lock-free single-producer (the callback), single-consumer (the poller) queue:
// each side writes only its own index, stored with release and loaded with acquire ordering, so
// the consumer never sees an index before the bytes it covers. At most 2047 unread bytes fit;
// bytes that arrive when the ring is full are dropped, never written over unread ones. Only the
// constructor resets the ring: unread bytes survive closing and re-opening.
class cMIDIInPort {
  public:
    static constexpr uint32_t kRingSize = 2048;

    // Resets the class-wide ring and state (to MIDI_IN_CLOSED) for the whole process.
    cMIDIInPort();
    cMIDIInPort(const cMIDIInPort&) = delete;
    cMIDIInPort& operator=(const cMIDIInPort&) = delete;
    // Closes the device if this object opened it, then releases its blocks.
    ~cMIDIInPort();

    // Opens input device DeviceIden, queues the receive blocks and starts input. Returns the
    // first platform result that is not MMSYSERR_NOERROR: when the device does not open, or any
    // block cannot be prepared or queued, input is not started and the SysEx gate stays closed.
    // MMSYSERR_ALLOCATED while a device is still open, MMSYSERR_NOMEM when the blocks cannot be
    // allocated. A device this object opened that has gone away since is closed first.
    MMRESULT OpenPort(uint32_t DeviceIden);
    // Closes the SysEx gate, then stops input and closes the device. When the callback is just
    // storing a block, waits until it has finished first, so the device is never left open.
    void ClosePort();
    tMIDIInPortState GetInPortState() const { return MIDIInPortState.load(); }
    // Why the open device went away (the services closed it on their own: MIDIERR_NODEVICE,
    // MMSYSERR_NODRIVER), or MMSYSERR_NOERROR while it has not; the state is then
    // MIDI_IN_CLOSED, and ClosePort still releases the device. Cleared by the next open.
    MMRESULT GetInPortLoss() const { return DeviceLoss.load(); }
    // The number of unread bytes in the ring.
    uint32_t GetStorageSize() const;
    // The next unread byte, consumed; 0 from an empty ring, which then stays as it is.
    uint8_t GetStoredData();

    static void MidiInProc(HMIDIIN hMidiIn, uint32_t wMsg, uintptr_t dwInstance, uintptr_t dwParam1,
                           uintptr_t dwParam2);
    // Called on the driver's thread whenever bytes were stored or the device was lost, to wake
    // the thread that reads the ring; it must do no more than that. Null: nobody is told.
    static void SetArrivalNotice(void (*Notice)()) { ArrivalNotice.store(Notice); }

    // The receive blocks the next open queues: how many, and how many bytes each.
    uint32_t uiNumberOfBuffers = 1;
    uint32_t uiBlockSize = 64;

  private:
    bool AllocateBlocks();
    MMRESULT QueueBlocks();
    static void StoreBlock(const MIDIHDR& Header);
    static void WaitWhileStoring();

    static uint8_t CircularBuffer[kRingSize];
    static std::atomic<uint32_t> HeadPtr;  // written by the callback only
    static std::atomic<uint32_t> TailPtr;  // written by the consumer only
    static std::atomic<HMIDIIN> hDeviceHandle;
    static std::atomic<bool> AllowSysex;
    static std::atomic<tMIDIInPortState> MIDIInPortState;
    static std::atomic<MMRESULT> DeviceLoss;
    static std::atomic<void (*)()> ArrivalNotice;

    // This object's blocks, valid for as long as the device it opened may use them.
    std::unique_ptr<MIDIHDR[]> midiHdr;
    std::unique_ptr<uint8_t[]> ucptrBufferData;
    uint32_t HeaderCount = 0;
    bool DeviceOpened = false;
};
