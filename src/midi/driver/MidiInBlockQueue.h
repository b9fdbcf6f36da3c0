#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

#include "midi/MidiPlatform.h"

// The input side of one open device as a MIDI driver keeps it: the receive blocks the
// application has queued, filled from the messages the device sends and handed back through
// the application's callback.
//
// Each SysEx message is copied into the queued blocks in order; a block goes back (MIM_LONGDATA,
// dwBytesRecorded set) when it is full or the message has ended in it, so a block never holds
// bytes of two messages. With no block queued the rest of the message is dropped, as a driver
// does. Short messages go to the callback as MIM_DATA. Nothing is delivered before Start.
//
// Thread rules: Receive runs on the backend's input thread, everything else on the
// application's. Callbacks are made without the queue's lock held, so the application may
// re-queue a block from inside its callback. Reset and Close wait for a delivery in progress,
// so once they return no callback from an earlier message is still running.
class cMidiInBlockQueue {
  public:
    cMidiInBlockQueue(HMIDIIN hMidiIn, tMidiInProc pCallback, uintptr_t dwInstance);
    cMidiInBlockQueue(const cMidiInBlockQueue&) = delete;
    cMidiInBlockQueue& operator=(const cMidiInBlockQueue&) = delete;

    // Tells the application that the device is open (MIM_OPEN).
    void NotifyOpen();
    // Tells the application, once, that the device went away (MIM_CLOSE carrying eLoss); from
    // any thread, and not after Close.
    void NotifyLoss(MMRESULT eLoss);
    MMRESULT Prepare(MIDIHDR* pHeader);
    MMRESULT Unprepare(MIDIHDR* pHeader);
    // Queues a receive block.
    MMRESULT Queue(MIDIHDR* pHeader);
    MMRESULT Start();
    // Stops input and hands every queued block back, marked done.
    MMRESULT Reset();
    // MIDIERR_STILLPLAYING while blocks are queued; otherwise ends all delivery for good and
    // tells the application (MIM_CLOSE).
    MMRESULT Close();
    size_t QueuedBlocks() const;

    // One whole message as the device sent it.
    void Receive(const uint8_t* pucMessage, size_t uiCount);

  private:
    void ReceiveSysex(const uint8_t* pucMessage, size_t uiCount);
    void ReceiveShort(const uint8_t* pucMessage, size_t uiCount);
    // Fills the front block from the message; the block when it is to go back, else null.
    MIDIHDR* FillFrontBlock(const uint8_t* pucBytes, size_t uiCount, size_t& uiTaken,
                            bool& bNoBlock);
    void Notify(uint32_t wMsg, uintptr_t dwParam1);

    const HMIDIIN hMidiIn;
    const tMidiInProc Callback;
    const uintptr_t dwInstance;

    std::mutex DeliveryMutex;        // held for a whole delivery, callbacks included
    mutable std::mutex BlocksMutex;  // the queue and the flags; never held during a callback
    std::deque<MIDIHDR*> Queued;
    bool Started = false;
    bool Closed = false;
    bool Lost = false;
};
