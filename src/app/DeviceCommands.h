#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The device's commands that unlock (or lock) its default songs, sent as one sequence: open the
// output device, send each message with the pause the device needs after it, close the device.
// The sequence stops at the first failure, and the result says which step failed and why.
enum tDeviceCommandFailure {
    COMMAND_SENT,
    COMMAND_NO_DEVICE,    // no valid output device is chosen: nothing was tried
    COMMAND_OPEN_FAILED,  // the device did not open: nothing was sent
    COMMAND_SEND_FAILED,  // a message did not go out; those after it were not sent
};

struct tDeviceCommandResult {
    tDeviceCommandFailure eFailure = COMMAND_SENT;
    // What failed, with the platform's result and its words: "the second unlock message was
    // not sent (error 67: ...)". Empty when everything was sent.
    std::string FailureText;

    bool Sent() const { return eFailure == COMMAND_SENT; }
};

// How the sequence waits after a message; the programs sleep, tests record the pauses.
using tCommandPause = std::function<void(int32_t iMilliseconds)>;

void SleepFor(int32_t iMilliseconds);

tDeviceCommandResult UnlockDefaultSongs(int32_t iOutDevice, const tCommandPause& Pause = SleepFor);
// Only the first lock message goes out: whether the device wants the second is not known.
tDeviceCommandResult LockDefaultSongs(int32_t iOutDevice, const tCommandPause& Pause = SleepFor);
