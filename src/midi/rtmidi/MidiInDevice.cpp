#include "midi/rtmidi/MidiInDevice.h"

cMidiInDevice::cMidiInDevice(HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance)
    : Queue(hSelf, pCallback, dwInstance) {}

MMRESULT cMidiInDevice::Open(iMidiConnector& Connector, const std::string& DevicePort,
                             const std::string& OwnPort) {
    const MMRESULT eResult = Connector.ConnectIn(
        DevicePort, OwnPort,
        [this](const uint8_t* pucMessage, size_t uiCount) { Queue.Receive(pucMessage, uiCount); },
        [this](MMRESULT eLoss) { Queue.NotifyLoss(eLoss); }, pConnection);
    if (eResult == MMSYSERR_NOERROR) {
        Queue.NotifyOpen();
    }
    return eResult;
}

MMRESULT cMidiInDevice::Close() {
    const MMRESULT eClosed = Queue.Close();
    if (eClosed == MMSYSERR_NOERROR) {
        pConnection.reset();
    }
    return eClosed;
}
