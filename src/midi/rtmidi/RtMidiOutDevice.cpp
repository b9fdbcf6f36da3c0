#include "midi/rtmidi/RtMidiOutDevice.h"

#include <vector>

#include "midi/driver/MidiHeaderChecks.h"
#include "midi/rtmidi/RtMidiNames.h"
#include "midi/rtmidi/RtMidiPortList.h"

cRtMidiOutDevice::cRtMidiOutDevice(HMIDIOUT hSelf, tMidiOutProc pCallback, uintptr_t dwInstance)
    : hSelf(hSelf), pCallback(pCallback), dwInstance(dwInstance) {}

MMRESULT cRtMidiOutDevice::Open(RtMidi::Api eApi, uint32_t uiDevice, const std::string& OwnTag,
                                const std::string& PortName) {
    try {
        pClient = std::make_unique<RtMidiOut>(eApi, kRtMidiClientName);
        Errors.Watch(*pClient);
    } catch (...) {
        pClient.reset();
        return MMSYSERR_ERROR;
    }
    const MMRESULT eResult = OpenDevicePort(*pClient, Errors, uiDevice, OwnTag, PortName);
    if (eResult != MMSYSERR_NOERROR) {
        pClient.reset();
        return eResult;
    }
    Notify(MOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiOutDevice::Prepare(MIDIHDR* pHeader, uint32_t cbHeader) {
    const MMRESULT eCheck = CheckHeaderToPrepare(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    pHeader->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiOutDevice::LongMessage(MIDIHDR* pHeader, uint32_t cbHeader) {
    const MMRESULT eCheck = CheckPreparedHeader(pHeader, cbHeader);
    if (eCheck != MMSYSERR_NOERROR) {
        return eCheck;
    }
    {
        std::lock_guard<std::mutex> Lock(mSend);
        if (pClient == nullptr) {
            return MMSYSERR_INVALHANDLE;
        }
        for (const std::vector<uint8_t>& Message :
             Joiner.Add(pHeader->lpData, pHeader->dwBufferLength)) {
            const MMRESULT eSent = SendWhole(Message);
            if (eSent != MMSYSERR_NOERROR) {
                return eSent;
            }
        }
        pHeader->dwFlags = (pHeader->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    }
    Notify(MOM_DONE, reinterpret_cast<uintptr_t>(pHeader));
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiOutDevice::SendWhole(const std::vector<uint8_t>& Message) {
    Errors.Clear();
    try {
        pClient->sendMessage(Message.data(), Message.size());
    } catch (...) {
        return MMSYSERR_ERROR;
    }
    return Errors.IsRaised() ? MMSYSERR_ERROR : MMSYSERR_NOERROR;
}

// Chunks are handed over synchronously, so a buffer is never still playing here.
MMRESULT cRtMidiOutDevice::Unprepare(MIDIHDR* pHeader, uint32_t cbHeader) {
    if (pHeader == nullptr || cbHeader < sizeof(MIDIHDR)) {
        return MMSYSERR_INVALPARAM;
    }
    pHeader->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

void cRtMidiOutDevice::Close() {
    {
        std::lock_guard<std::mutex> Lock(mSend);
        Joiner.Clear();
        pClient.reset();
    }
    Notify(MOM_CLOSE, 0);
}

void cRtMidiOutDevice::Notify(uint32_t wMsg, uintptr_t dwParam1) const {
    if (pCallback != nullptr) {
        pCallback(hSelf, wMsg, dwInstance, dwParam1, 0);
    }
}
