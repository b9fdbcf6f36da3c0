#include "midi/rtmidi/MidiOutDevice.h"

#include <vector>

#include "midi/driver/MidiHeaderChecks.h"

cMidiOutDevice::cMidiOutDevice(HMIDIOUT hSelf, tMidiOutProc pCallback, uintptr_t dwInstance)
    : Self(hSelf), Callback(pCallback), dwInstance(dwInstance) {}

MMRESULT cMidiOutDevice::Open(iMidiConnector& Connector, const std::string& DevicePort,
                              const std::string& OwnPort) {
    const MMRESULT eResult = Connector.ConnectOut(DevicePort, OwnPort, Connection);
    if (eResult == MMSYSERR_NOERROR) {
        Notify(MOM_OPEN, 0);
    }
    return eResult;
}

MMRESULT cMidiOutDevice::Prepare(MIDIHDR* pHeader) {
    return MarkPrepared(pHeader);
}

MMRESULT cMidiOutDevice::Queue(MIDIHDR* pHeader) {
    {
        std::lock_guard<std::mutex> Lock(SendMutex);
        if (Connection == nullptr) {
            return MMSYSERR_INVALHANDLE;
        }
        for (const std::vector<uint8_t>& Message :
             Joiner.Add(pHeader->lpData, pHeader->dwBufferLength)) {
            const MMRESULT eSent = Connection->Send(Message);
            if (eSent != MMSYSERR_NOERROR) {
                return eSent;
            }
        }
        MarkDone(*pHeader);
    }
    Notify(MOM_DONE, reinterpret_cast<uintptr_t>(pHeader));
    return MMSYSERR_NOERROR;
}

// Chunks are handed over synchronously, so a buffer is never still playing here.
MMRESULT cMidiOutDevice::Unprepare(MIDIHDR* pHeader) {
    return MarkUnprepared(pHeader);
}

MMRESULT cMidiOutDevice::Close() {
    {
        std::lock_guard<std::mutex> Lock(SendMutex);
        Joiner.Clear();
        Connection.reset();
    }
    Notify(MOM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

void cMidiOutDevice::Notify(uint32_t wMsg, uintptr_t dwParam1) const {
    if (Callback != nullptr) {
        Callback(Self, wMsg, dwInstance, dwParam1, 0);
    }
}
