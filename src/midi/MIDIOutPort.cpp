#include "midi/MIDIOutPort.h"

#include <chrono>
#include <thread>

#include "midi/MidiBackend.h"

std::atomic<tMIDIOutPortState> cMIDIOutPort::PortState{MIDI_OUT_NOT_OPENED};

MMRESULT cMIDIOutPort::OpenPort(uint32_t DeviceIden) {
    return MidiBackend().midiOutOpen(&hMidiOut, DeviceIden, &cMIDIOutPort::MidiOutProc,
                                     reinterpret_cast<uintptr_t>(this), CALLBACK_FUNCTION);
}

MMRESULT cMIDIOutPort::SendSysexPacket(int32_t iSysexPacketSize, const uint8_t* ucptrSysexHeader) {
    if (iSysexPacketSize < 0 || (iSysexPacketSize > 0 && ucptrSysexHeader == nullptr)) {
        return MMSYSERR_INVALPARAM;
    }
    int32_t iRemaining = iSysexPacketSize;
    const uint8_t* pucChunk = ucptrSysexHeader;
    while (iRemaining > 0) {
        const int32_t iLength = iRemaining > kChunkSize ? kChunkSize : iRemaining;
        const MMRESULT eResult = SendChunk(pucChunk, static_cast<uint32_t>(iLength));
        if (eResult != MMSYSERR_NOERROR) {
            return eResult;
        }
        pucChunk += iLength;
        iRemaining -= iLength;
    }
    return MMSYSERR_NOERROR;
}

// The next chunk is not queued before the driver has handed this one back: the header lives on
// this stack frame only.
MMRESULT cMIDIOutPort::SendChunk(const uint8_t* pucChunk, uint32_t dwLength) {
    iMidiBackend& Backend = MidiBackend();
    MIDIHDR Header;
    // The record has one data pointer for both directions; output only reads through it.
    Header.lpData = const_cast<uint8_t*>(pucChunk);
    Header.dwBufferLength = dwLength;
    Header.dwFlags = 0;
    MMRESULT eResult = Backend.midiOutPrepareHeader(hMidiOut, &Header, sizeof(MIDIHDR));
    if (eResult != MMSYSERR_NOERROR) {
        return eResult;
    }
    eResult = Backend.midiOutLongMsg(hMidiOut, &Header, sizeof(MIDIHDR));
    if (eResult != MMSYSERR_NOERROR) {
        Backend.midiOutUnprepareHeader(hMidiOut, &Header, sizeof(MIDIHDR));
        return eResult;
    }
    while (Backend.midiOutUnprepareHeader(hMidiOut, &Header, sizeof(MIDIHDR)) ==
           MIDIERR_STILLPLAYING) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return MMSYSERR_NOERROR;
}

void cMIDIOutPort::ClosePort() {
    MidiBackend().midiOutClose(hMidiOut);
    hMidiOut = HMIDIOUT{};
}

void cMIDIOutPort::MidiOutProc(HMIDIOUT, uint32_t Msg, uintptr_t, uintptr_t, uintptr_t) {
    switch (Msg) {
        case MOM_OPEN:
        case MOM_DONE:
            PortState.store(MIDI_OUT_READY);
            break;
        case MOM_CLOSE:
            PortState.store(MIDI_OUT_CLOSED);
            break;
        default:
            break;
    }
}
