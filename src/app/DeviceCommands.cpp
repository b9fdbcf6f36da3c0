#include "app/DeviceCommands.h"

#include <chrono>
#include <initializer_list>
#include <thread>

#include "midi/MIDIOutPort.h"
#include "midi/MidiErrorText.h"
#include "transfer/DefaultSongCommands.h"

namespace {

using DefaultSongCommands::tTimedCommand;

struct tNamedCommand {
    const char* szName;
    tTimedCommand Timed;
};

std::string WithResult(const std::string& What, MMRESULT eResult) {
    return DescribeMidiFailure(What, eResult, true);
}

tDeviceCommandResult SendSequence(int32_t iOutDevice, std::initializer_list<tNamedCommand> Commands,
                                  const tCommandPause& Pause) {
    if (iOutDevice < 0) {
        return {COMMAND_NO_DEVICE, "no valid output device is chosen"};
    }
    cMIDIOutPort Port;
    const MMRESULT eOpened = Port.OpenPort(static_cast<uint32_t>(iOutDevice));
    if (eOpened != MMSYSERR_NOERROR) {
        return {COMMAND_OPEN_FAILED, WithResult("the output device did not open", eOpened)};
    }
    tDeviceCommandResult Result;
    for (const tNamedCommand& Command : Commands) {
        const DefaultSongCommands::tCommand& Bytes = Command.Timed.Command;
        const MMRESULT eSent =
            Port.SendSysexPacket(static_cast<int32_t>(Bytes.size()), Bytes.data());
        if (eSent != MMSYSERR_NOERROR) {
            Result = {COMMAND_SEND_FAILED,
                      WithResult(std::string("the ") + Command.szName + " was not sent", eSent)};
            break;
        }
        Pause(Command.Timed.iPauseAfterMs);
    }
    Port.ClosePort();
    return Result;
}

}  // namespace

void SleepFor(int32_t iMilliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(iMilliseconds));
}

tDeviceCommandResult UnlockDefaultSongs(int32_t iOutDevice, const tCommandPause& Pause) {
    using namespace DefaultSongCommands;
    return SendSequence(iOutDevice,
                        {{"first unlock message", {kUnlockFirst, kPauseBetweenUnlockMs}},
                         {"second unlock message", {kUnlockSecond, kPauseBeforeCloseMs}}},
                        Pause);
}

tDeviceCommandResult LockDefaultSongs(int32_t iOutDevice, const tCommandPause& Pause) {
    using namespace DefaultSongCommands;
    return SendSequence(iOutDevice, {{"lock message", {kLockFirst, kPauseBeforeCloseMs}}}, Pause);
}
