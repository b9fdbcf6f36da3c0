#include "midi/MIDIInPort.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <thread>

#include "midi/MidiBackend.h"

uint8_t cMIDIInPort::CircularBuffer[kRingSize] = {};
std::atomic<uint32_t> cMIDIInPort::HeadPtr{0};
std::atomic<uint32_t> cMIDIInPort::TailPtr{0};
std::atomic<HMIDIIN> cMIDIInPort::hDeviceHandle{HMIDIIN{}};
std::atomic<bool> cMIDIInPort::AllowSysex{false};
std::atomic<tMIDIInPortState> cMIDIInPort::MIDIInPortState{MIDI_IN_CLOSED};
std::atomic<MMRESULT> cMIDIInPort::DeviceLoss{MMSYSERR_NOERROR};
std::atomic<void (*)()> cMIDIInPort::ArrivalNotice{nullptr};

namespace {

// How long ClosePort sleeps between its polls: for a block being stored, and for a device that
// refuses to close while it still holds blocks.
constexpr auto kStoringPoll = std::chrono::milliseconds(1);
constexpr auto kClosePoll = std::chrono::milliseconds(10);

}  // namespace

cMIDIInPort::cMIDIInPort() {
    MIDIInPortState.store(MIDI_IN_CLOSED);
    DeviceLoss.store(MMSYSERR_NOERROR);
    HeadPtr.store(0, std::memory_order_release);
    TailPtr.store(0, std::memory_order_release);
}

cMIDIInPort::~cMIDIInPort() {
    if (DeviceOpened && hDeviceHandle.load() != HMIDIIN{}) {
        ClosePort();
    }
}

MMRESULT cMIDIInPort::OpenPort(uint32_t DeviceIden) {
    if (DeviceOpened && GetInPortLoss() != MMSYSERR_NOERROR) {
        ClosePort();
    }
    // The blocks of the open device must not be released under it.
    if (hDeviceHandle.load() != HMIDIIN{}) {
        return MMSYSERR_ALLOCATED;
    }
    AllowSysex.store(false);
    DeviceLoss.store(MMSYSERR_NOERROR);
    if (!AllocateBlocks()) {
        return MMSYSERR_NOMEM;
    }
    HMIDIIN hOpened{};
    const MMRESULT eOpen =
        MidiBackend().midiInOpen(&hOpened, DeviceIden, &cMIDIInPort::MidiInProc,
                                 reinterpret_cast<uintptr_t>(this), CALLBACK_FUNCTION);
    if (eOpen != MMSYSERR_NOERROR) {
        return eOpen;
    }
    hDeviceHandle.store(hOpened);
    DeviceOpened = true;
    const MMRESULT eQueued = QueueBlocks();
    if (eQueued == MMSYSERR_NOERROR) {
        AllowSysex.store(true);
        MidiBackend().midiInStart(hOpened);
    }
    return eQueued;
}

bool cMIDIInPort::AllocateBlocks() {
    midiHdr.reset();
    ucptrBufferData.reset();
    HeaderCount = 0;
    const size_t uiBytes = size_t{uiNumberOfBuffers} * uiBlockSize;
    midiHdr.reset(new (std::nothrow) MIDIHDR[uiNumberOfBuffers]);
    ucptrBufferData.reset(new (std::nothrow) uint8_t[uiBytes]);
    if (midiHdr == nullptr || ucptrBufferData == nullptr) {
        midiHdr.reset();
        ucptrBufferData.reset();
        return false;
    }
    HeaderCount = uiNumberOfBuffers;
    return true;
}

// Every block is tried even after one has failed; the first failure is the result.
MMRESULT cMIDIInPort::QueueBlocks() {
    iMidiBackend& Backend = MidiBackend();
    const HMIDIIN hMidiIn = hDeviceHandle.load();
    MMRESULT eFirstFailure = MMSYSERR_NOERROR;
    for (uint32_t i = 0; i < HeaderCount; ++i) {
        MIDIHDR& Header = midiHdr[i];
        Header = MIDIHDR{};
        Header.lpData = ucptrBufferData.get() + size_t{i} * uiBlockSize;
        Header.dwBufferLength = uiBlockSize;
        Header.dwFlags = 0;
        MMRESULT eResult = Backend.midiInPrepareHeader(hMidiIn, &Header, sizeof(MIDIHDR));
        if (eResult == MMSYSERR_NOERROR) {
            eResult = Backend.midiInAddBuffer(hMidiIn, &Header, sizeof(MIDIHDR));
        }
        if (eFirstFailure == MMSYSERR_NOERROR) {
            eFirstFailure = eResult;
        }
    }
    return eFirstFailure;
}

void cMIDIInPort::ClosePort() {
    AllowSysex.store(false);
    WaitWhileStoring();
    const HMIDIIN hMidiIn = hDeviceHandle.load();
    if (hMidiIn == HMIDIIN{}) {
        return;
    }
    iMidiBackend& Backend = MidiBackend();
    // Every queued block comes back through the callback, which drops it: the gate is closed.
    Backend.midiInReset(hMidiIn);
    for (uint32_t i = 0; i < HeaderCount; ++i) {
        Backend.midiInUnprepareHeader(hMidiIn, &midiHdr[i], sizeof(MIDIHDR));
    }
    while (Backend.midiInClose(hMidiIn) == MIDIERR_STILLPLAYING) {
        std::this_thread::sleep_for(kClosePoll);
    }
    hDeviceHandle.store(HMIDIIN{});
    DeviceOpened = false;
}

void cMIDIInPort::WaitWhileStoring() {
    while (MIDIInPortState.load() == MIDI_IN_STORING) {
        std::this_thread::sleep_for(kStoringPoll);
    }
}

uint32_t cMIDIInPort::GetStorageSize() const {
    const uint32_t uiHead = HeadPtr.load(std::memory_order_acquire);
    const uint32_t uiTail = TailPtr.load(std::memory_order_relaxed);
    return (uiHead + kRingSize - uiTail) % kRingSize;
}

uint8_t cMIDIInPort::GetStoredData() {
    const uint32_t uiTail = TailPtr.load(std::memory_order_relaxed);
    if (HeadPtr.load(std::memory_order_acquire) == uiTail) {
        return 0;
    }
    const uint8_t ucByte = CircularBuffer[uiTail];
    TailPtr.store((uiTail + 1) % kRingSize, std::memory_order_release);
    return ucByte;
}

// Copies what fits of the block into the ring, then publishes the new head once.
void cMIDIInPort::StoreBlock(const MIDIHDR& Header) {
    if (Header.lpData == nullptr) {
        return;
    }
    const uint32_t uiRecorded = std::min(Header.dwBytesRecorded, Header.dwBufferLength);
    uint32_t uiHead = HeadPtr.load(std::memory_order_relaxed);
    const uint32_t uiTail = TailPtr.load(std::memory_order_acquire);
    const uint32_t uiFree = kRingSize - 1 - (uiHead + kRingSize - uiTail) % kRingSize;
    const uint32_t uiCount = std::min(uiRecorded, uiFree);
    for (uint32_t i = 0; i < uiCount; ++i) {
        CircularBuffer[uiHead] = Header.lpData[i];
        uiHead = (uiHead + 1) % kRingSize;
    }
    HeadPtr.store(uiHead, std::memory_order_release);
}

void cMIDIInPort::MidiInProc(HMIDIIN, uint32_t wMsg, uintptr_t, uintptr_t dwParam1, uintptr_t) {
    switch (wMsg) {
        case MIM_OPEN:
            MIDIInPortState.store(MIDI_IN_OPEN);
            break;
        case MIM_CLOSE:
            if (dwParam1 != 0) {
                DeviceLoss.store(static_cast<MMRESULT>(dwParam1));
            }
            MIDIInPortState.store(MIDI_IN_CLOSED);
            if (auto* Notice = ArrivalNotice.load(); dwParam1 != 0 && Notice != nullptr) {
                Notice();
            }
            break;
        case MIM_LONGDATA: {
            if (!AllowSysex.load()) {
                break;
            }
            MIDIInPortState.store(MIDI_IN_STORING);
            // The platform hands the block over as a pointer-sized parameter.
            auto* pHeader =
                reinterpret_cast<MIDIHDR*>(dwParam1);  // NOLINT(performance-no-int-to-ptr)
            if (pHeader != nullptr) {
                StoreBlock(*pHeader);
                MidiBackend().midiInAddBuffer(hDeviceHandle.load(), pHeader, sizeof(MIDIHDR));
            }
            MIDIInPortState.store(MIDI_IN_OPEN);
            if (auto* Notice = ArrivalNotice.load(); Notice != nullptr) {
                Notice();
            }
            break;
        }
        default:
            break;
    }
}
