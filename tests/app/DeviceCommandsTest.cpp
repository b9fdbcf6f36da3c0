#include <gtest/gtest.h>

#include <vector>

#include "app/DeviceCommands.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"

namespace {

using tChunks = std::vector<std::vector<uint8_t>>;

const std::vector<uint8_t> kUnlockFirst = {0xF0, 0x08, 0x42, 0x53, 0x01, 0xF7};
const std::vector<uint8_t> kUnlockSecond = {0xF0, 0x08, 0x43, 0x53, 0x01, 0xF7};
const std::vector<uint8_t> kLockFirst = {0xF0, 0x08, 0x42, 0x53, 0x00, 0xF7};

class DeviceCommands : public ::testing::Test {
  protected:
    DeviceCommands() : Use(Backend), uiDevice(Backend.AddOutDevice("Device")) {}

    // Records each pause with the number of messages the device had by then, and whether the
    // device was still open.
    tCommandPause Recorder() {
        return [this](int32_t iMilliseconds) {
            Pauses.push_back(iMilliseconds);
            SentBeforePause.push_back(Backend.SentChunks(uiDevice).size());
            EXPECT_TRUE(Backend.IsOutOpen(uiDevice));
        };
    }

    cVirtualMidiBackend Backend;
    cScopedMidiBackend Use;
    uint32_t uiDevice;
    std::vector<int32_t> Pauses;
    std::vector<size_t> SentBeforePause;
};

}  // namespace

TEST_F(DeviceCommands, unlocking_sends_the_pair_with_the_pauses_the_device_needs_then_closes) {
    const tDeviceCommandResult Result =
        UnlockDefaultSongs(static_cast<int32_t>(uiDevice), Recorder());
    EXPECT_TRUE(Result.Sent());
    EXPECT_TRUE(Result.FailureText.empty());
    EXPECT_EQ(Backend.SentChunks(uiDevice), (tChunks{kUnlockFirst, kUnlockSecond}));
    EXPECT_EQ(Pauses, (std::vector<int32_t>{500, 1000}));
    EXPECT_EQ(SentBeforePause, (std::vector<size_t>{1, 2}));
    EXPECT_FALSE(Backend.IsOutOpen(uiDevice));
}

TEST_F(DeviceCommands, locking_sends_only_the_first_lock_message) {
    EXPECT_TRUE(LockDefaultSongs(static_cast<int32_t>(uiDevice), Recorder()).Sent());
    EXPECT_EQ(Backend.SentChunks(uiDevice), (tChunks{kLockFirst}));
    EXPECT_EQ(Pauses, (std::vector<int32_t>{1000}));
}

TEST_F(DeviceCommands, the_sequence_stops_at_the_first_failure_and_says_which_step_failed) {
    struct tCase {
        const char* szWhat;
        int32_t iDevice;
        tVirtualFaults Faults;
        tDeviceCommandFailure eFailure;
        const char* szText;
        size_t uiSent;
    };
    const tCase aCases[] = {
        {"no device chosen", -1, {}, COMMAND_NO_DEVICE, "no valid output device", 0},
        {"the device does not open",
         0,
         {.eOpenResult = MMSYSERR_ALLOCATED},
         COMMAND_OPEN_FAILED,
         "the output device did not open (error 4: The MIDI device is already in use.)",
         0},
        {"the second message fails",
         0,
         {.uiQueueFailsOn = 2},
         COMMAND_SEND_FAILED,
         "the second unlock message was not sent (error 67: The MIDI device is busy and took no "
         "data.)",
         1},
    };
    for (const tCase& Case : aCases) {
        Backend.SetOutFaults(uiDevice, Case.Faults);
        Pauses.clear();
        const size_t uiSentBefore = Backend.SentChunks(uiDevice).size();
        const tDeviceCommandResult Result = UnlockDefaultSongs(Case.iDevice, Recorder());
        EXPECT_EQ(Result.eFailure, Case.eFailure) << Case.szWhat;
        EXPECT_NE(Result.FailureText.find(Case.szText), std::string::npos)
            << Case.szWhat << ": " << Result.FailureText;
        EXPECT_EQ(Backend.SentChunks(uiDevice).size() - uiSentBefore, Case.uiSent) << Case.szWhat;
        EXPECT_EQ(Pauses.size(), Case.uiSent) << Case.szWhat;  // no pause after a failure
        EXPECT_FALSE(Backend.IsOutOpen(uiDevice)) << Case.szWhat;
    }
}
