#pragma once

#include <cstdint>

// Everything a transfer is run with, as the user set it: the device pair, the pacing, the mode
// and the input blocks. Both front ends start from these values at every start; the main window
// saves only the device choice and the pacing on acknowledgement. The same record travels from the
// window or the command line to the progress display and on to the transfer itself.
struct tTransferSettings {
    int32_t iSelectedInPort = -1;  // device index; -1: no valid device
    int32_t iSelectedOutPort = -1;
    int32_t iTimeBetweenSongs = 300;   // ms before each further song
    int32_t iTimeBetweenPackets = 25;  // ms between transfer steps
    int32_t iTimeOut = 1000;           // silent steps while a reply is awaited
    bool bBlindTransfer = true;
    // With handshakes: each packet goes as soon as the one before is acknowledged.
    bool AckPaced = false;
    bool bDebugEnabled = false;
    bool bMidiInMonitor = false;
    uint32_t uiMidiInNumberOfBuffers = 32;
    uint32_t uiMidiInBlockSize = 32;
};

// Acknowledged packets go at once only with handshakes; blind sends keep their step pacing.
inline bool PacedOnAcknowledgement(const tTransferSettings& Settings) {
    return Settings.AckPaced && !Settings.bBlindTransfer;
}

// The start values, for the places that need one of them on its own.
inline constexpr tTransferSettings kDefaultTransferSettings{};
