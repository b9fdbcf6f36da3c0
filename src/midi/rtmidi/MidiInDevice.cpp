#include "midi/rtmidi/MidiInDevice.h"

MMRESULT cMidiInDevice::Open(iMidiConnector& Connector, const std::string& DevicePort,
                             const std::string& OwnPort) {
    const MMRESULT eResult = Connector.ConnectIn(
        DevicePort, OwnPort,
        [this](const uint8_t* pucMessage, size_t uiCount) { Receive(pucMessage, uiCount); },
        [this](MMRESULT eLoss) { NotifyLoss(eLoss); }, Connection);
    if (eResult == MMSYSERR_NOERROR) {
        NotifyOpen();
    }
    return eResult;
}

MMRESULT cMidiInDevice::Close() {
    const MMRESULT eClosed = cMidiInBlockQueue::Close();
    if (eClosed == MMSYSERR_NOERROR) {
        Connection.reset();
    }
    return eClosed;
}
