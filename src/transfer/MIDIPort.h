#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "midi/MIDIInPort.h"
#include "midi/MIDIOutPort.h"
#include "midi/MidiPlatform.h"
#include "transfer/FileDumpMessages.h"
#include "transfer/X10State.h"

// The kind of file a File Dump header announces.
enum tHeaderType : int32_t {
    HEADER_TYPE_MIDI = 1,
};

// The program's MIDI port pair, the listing of the devices it can open, and the File Dump
// messages that carry one song file to the device: it holds exactly one built message at a
// time, the packet counter, the expected message count and the transfer state.
//
// Packet counter: 0 while the header is built and sent, k for data packet k, D + 1 while the
// end-of-file message is built. Its low 7 bits are the packet number on the wire.
class cMIDIPort : public cMIDIOutPort, public cMIDIInPort {
  public:
    uint32_t NumOutPorts();
    uint32_t NumInPorts();
    // The name of a device, as UTF-16 text of at most 31 characters. The text lives in this
    // object until the next name query of the same direction; copy it at once. A device whose
    // name cannot be had (a bad index, a device gone since counting) gets an empty name.
    const char16_t* GetOutPortNames(uint32_t uiPortIndex);
    const char16_t* GetInPortNames(uint32_t uiPortIndex);

    // The header's song name, from the path of the user's own song file.
    void SetFileName(const std::filesystem::path& FilePath);
    // The open song file the data packets are read from (not owned); null when there is none.
    void SetFileHandle(std::FILE* hFileHandle);
    void BuildSysexHeader(tHeaderType thtType);
    // Builds the next data packet and returns its length; at the end of the file builds the
    // end-of-file message instead and returns 0. A song file that cannot be read to its full
    // length gives X10_ERROR and -1.
    int32_t PrepareX10Packet();
    int32_t PrepareMIDIEOF();
    // Sends the built message. Refused past the counter bound, and failed when the output port
    // fails: both leave X10_ERROR and return false; the port's result stays in eSendResult.
    bool SendSysexPkt();
    tX10State GetX10State(int32_t* PacketsSent, int32_t* TotalPackets) const;

    const std::vector<uint8_t>& GetSysexPacket() const { return pSysexPacket; }
    const std::string& GetFileName() const { return pFileName; }

  protected:
    std::vector<uint8_t> pSysexPacket;
    uint32_t dwFileSize = 0;
    std::string pFileName;
    int32_t iPacketLength = 0;
    uint8_t aucFileData[FileDump::kBytesPerPacket] = {};
    int32_t iCurrentPacket = 0;
    int32_t iPacketTotal = 0;
    tX10State eX10State = X10_PORT_CLOSED;
    std::FILE* hFile = nullptr;
    uint32_t dwBytesRead = 0;                 // of the song file, by the data packets built so far
    MMRESULT eSendResult = MMSYSERR_NOERROR;  // of the last message handed to the output port

  private:
    uint32_t uiNumInPorts = 0;
    uint32_t uiNumOutPorts = 0;
    MIDIOUTCAPSW midiOutCaps{};
    MIDIINCAPSW midiInCaps{};
};
