#include "midi/rtmidi/RtMidiInDevice.h"

#include "midi/rtmidi/RtMidiNames.h"
#include "midi/rtmidi/RtMidiPortList.h"

cRtMidiInDevice::cRtMidiInDevice(HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance)
    : Queue(hSelf, pCallback, dwInstance) {}

MMRESULT cRtMidiInDevice::Open(RtMidi::Api eApi, uint32_t uiDevice, const std::string& OwnTag,
                               const std::string& PortName) {
    try {
        pClient = std::make_unique<RtMidiIn>(eApi, kRtMidiClientName);
        Errors.Watch(*pClient);
        pClient->ignoreTypes(false, true, true);
        pClient->setCallback(&cRtMidiInDevice::OnMessage, this);
    } catch (...) {
        pClient.reset();
        return MMSYSERR_ERROR;
    }
    const MMRESULT eResult = OpenDevicePort(*pClient, Errors, uiDevice, OwnTag, PortName);
    if (eResult != MMSYSERR_NOERROR) {
        pClient.reset();
        return eResult;
    }
    Queue.NotifyOpen();
    return MMSYSERR_NOERROR;
}

MMRESULT cRtMidiInDevice::Close() {
    const MMRESULT eClosed = Queue.Close();
    if (eClosed == MMSYSERR_NOERROR) {
        pClient.reset();
    }
    return eClosed;
}

void cRtMidiInDevice::OnMessage(double, std::vector<unsigned char>* pMessage, void* pUserData) {
    if (pMessage != nullptr) {
        static_cast<cRtMidiInDevice*>(pUserData)->Queue.Receive(pMessage->data(), pMessage->size());
    }
}
