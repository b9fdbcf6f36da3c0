#pragma once

#include <RtMidi.h>

#include <memory>
#include <string>
#include <vector>

#include "midi/MidiPlatform.h"
#include "midi/driver/MidiInBlockQueue.h"
#include "midi/rtmidi/RtMidiErrorFlag.h"

// One open input device: an RtMidi client whose port is connected from the device. RtMidi
// hands over whole messages on a thread of its own; SysEx is not ignored (RtMidi's default),
// timing clock and active sensing are. The block queue does the rest, as a driver would.
class cRtMidiInDevice {
  public:
    cRtMidiInDevice(HMIDIIN hSelf, tMidiInProc pCallback, uintptr_t dwInstance);
    cRtMidiInDevice(const cRtMidiInDevice&) = delete;
    cRtMidiInDevice& operator=(const cRtMidiInDevice&) = delete;

    // Opens the device with index uiDevice of the list that leaves out ports named with
    // OwnTag; PortName names the program's own port. Sends MIM_OPEN on success.
    MMRESULT Open(RtMidi::Api eApi, uint32_t uiDevice, const std::string& OwnTag,
                  const std::string& PortName);
    cMidiInBlockQueue& Blocks() { return Queue; }
    // MIDIERR_STILLPLAYING while blocks are queued; otherwise ends input, closes the port and
    // sends MIM_CLOSE.
    MMRESULT Close();

  private:
    static void OnMessage(double dTimeStamp, std::vector<unsigned char>* pMessage, void* pUserData);

    cMidiInBlockQueue Queue;
    cRtMidiErrorFlag Errors;
    // Last, so that it goes first: its thread may call into the queue until it is gone.
    std::unique_ptr<RtMidiIn> pClient;
};
