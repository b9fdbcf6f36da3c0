#include "transfer/MIDIPort.h"

#include "midi/MidiBackend.h"
#include "transfer/SongName.h"

uint32_t cMIDIPort::NumOutPorts() {
    uiNumOutPorts = MidiBackend().midiOutGetNumDevs();
    return uiNumOutPorts;
}

uint32_t cMIDIPort::NumInPorts() {
    uiNumInPorts = MidiBackend().midiInGetNumDevs();
    return uiNumInPorts;
}

const char16_t* cMIDIPort::GetOutPortNames(uint32_t uiPortIndex) {
    if (MidiBackend().midiOutGetDevCapsW(uiPortIndex, &midiOutCaps, sizeof(midiOutCaps)) !=
        MMSYSERR_NOERROR) {
        midiOutCaps = MIDIOUTCAPSW{};
    }
    return midiOutCaps.szPname;
}

const char16_t* cMIDIPort::GetInPortNames(uint32_t uiPortIndex) {
    if (MidiBackend().midiInGetDevCapsW(uiPortIndex, &midiInCaps, sizeof(midiInCaps)) !=
        MMSYSERR_NOERROR) {
        midiInCaps = MIDIINCAPSW{};
    }
    return midiInCaps.szPname;
}

void cMIDIPort::SetFileName(const std::filesystem::path& FilePath) {
    const std::u8string Utf8 = FilePath.u8string();
    pFileName = SongNameFromPath(std::string(Utf8.begin(), Utf8.end()));
}

void cMIDIPort::SetFileHandle(std::FILE* hFileHandle) {
    hFile = hFileHandle;
    dwBytesRead = 0;
}

void cMIDIPort::BuildSysexHeader(tHeaderType) {
    pSysexPacket = FileDump::BuildHeader(dwFileSize, pFileName);
    iPacketLength = static_cast<int32_t>(pSysexPacket.size());
}

// Reads no further than the size the header announced; a song file that ends before it, or
// cannot be read, must not pass for a whole one.
int32_t cMIDIPort::PrepareX10Packet() {
    pSysexPacket.clear();
    const uint32_t dwLeft = dwFileSize - dwBytesRead;
    const auto n =
        static_cast<int>(dwLeft < FileDump::kBytesPerPacket ? dwLeft : FileDump::kBytesPerPacket);
    if (n == 0) {
        PrepareMIDIEOF();
        return 0;
    }
    if (hFile == nullptr ||
        std::fread(aucFileData, 1, static_cast<size_t>(n), hFile) != static_cast<size_t>(n)) {
        eX10State = X10_ERROR;
        return -1;
    }
    dwBytesRead += static_cast<uint32_t>(n);
    pSysexPacket = FileDump::BuildDataPacket(iCurrentPacket, aucFileData, n);
    iPacketLength = static_cast<int32_t>(pSysexPacket.size());
    return iPacketLength;
}

int32_t cMIDIPort::PrepareMIDIEOF() {
    pSysexPacket = FileDump::BuildEndOfFile(iCurrentPacket);
    iPacketLength = FileDump::kEndOfFileLength;
    eX10State = X10_SEND_LAST;
    ++iCurrentPacket;
    return FileDump::kEndOfFileLength;
}

// Past the counter bound only extra acknowledgements can have pushed the counter.
bool cMIDIPort::SendSysexPkt() {
    if (iCurrentPacket > iPacketTotal + 2) {
        eX10State = X10_ERROR;
        return false;
    }
    eSendResult = SendSysexPacket(iPacketLength, pSysexPacket.data());
    if (eSendResult != MMSYSERR_NOERROR) {
        eX10State = X10_ERROR;
        return false;
    }
    return true;
}

tX10State cMIDIPort::GetX10State(int32_t* PacketsSent, int32_t* TotalPackets) const {
    *PacketsSent = iCurrentPacket;
    *TotalPackets = iPacketTotal;
    return eX10State;
}
