#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "midi/MIDIInPort.h"
#include "midi/MIDIOutPort.h"
#include "midi/MidiPlatform.h"
#include "transfer/FileDumpSender.h"
#include "transfer/X10State.h"

// The program's MIDI port pair and the File Dump messages that carry one song file to the
// device: the sender holds exactly one built message at a time, the packet counter and the
// expected message count; this object the transfer state and the song's name for the header.
class cMIDIPort : public cMIDIOutPort, public cMIDIInPort {
  public:
    // The header's song name, from the path of the user's own song file.
    void SetFileName(const std::filesystem::path& FilePath);
    // Sends the built message. Refused past the counter bound, and failed when the output port
    // fails: both leave X10_ERROR and return false; the port's result stays in eSendResult.
    bool SendSysexPkt();
    tX10State GetX10State(int32_t* PacketsSent, int32_t* TotalPackets) const;

  protected:
    cFileDumpSender Sender;
    std::string pFileName;
    tX10State eX10State = X10_PORT_CLOSED;
    MMRESULT eSendResult = MMSYSERR_NOERROR;  // of the last message handed to the output port
};
