#pragma once

// The texts of the application layer that both front ends show, with their captions: the
// messages that end a transfer early, the checks of the transfer options, the devices and the
// default-song commands.
namespace AppTexts {

inline constexpr const char* kCancelled =
    "TAV has cancelled, please shut down your Orvik and restart";
inline constexpr const char* kSendError =
    "Song Send Error, please shut down your Orvik and restart";
inline constexpr const char* kMismatch = "Packet Mismatch";
inline constexpr const char* kTimedOut =
    "Not Receiving a response from device, please make sure it is on and properly connected";
inline constexpr const char* kErrorCaption = "Error";
// Why a send error happened, after the message: a device that failed or went away, or a
// converted song file that could not be read.
inline constexpr const char* kOutputDeviceFailed = "The MIDI output device failed";
inline constexpr const char* kInputDeviceFailed = "The MIDI input device failed";
inline constexpr const char* kDeviceGone = "is no longer connected";
inline constexpr const char* kDeviceShared =
    "is now the name of more than one device, so which one was chosen is unknown";
inline constexpr const char* kSongFileUnreadable = "The converted song file could not be read";
inline constexpr const char* kDeviceEndedFile = "the device ended the file";
// Before the reason text of the device's CANCEL.
inline constexpr const char* kDeviceReason = "the device's reason: ";
// What blind sending cannot promise, for its help and its option's tooltip.
inline constexpr const char* kBlindUnconfirmed =
    "A blind send is confirmed by nobody: the device's replies are not awaited, so a song\n"
    "the device lost is still reported sent, and a CANCEL that comes once the next song\n"
    "has begun is taken for that song.";
// Before the songs of a batch that a stop left unsent.
inline constexpr const char* kNotSent = "not sent: ";
inline constexpr const char* kNoCaption = "";

inline constexpr const char* kIntervalOutOfRange =
    "Invalid Value for Time between packets, please choose a value between 5 and 150";
inline constexpr const char* kIntervalTooShortForBlind =
    "Invalid value for time between packets - with blind transfer use no less than 25 ms";
inline constexpr const char* kSongIntervalOutOfRange =
    "Invalid value for time between songs, please choose a value between 1 and 60000 ms; "
    "300 ms is used";
inline constexpr const char* kTimeOutOutOfRange =
    "Invalid value for the packet time out, please choose 1 or more; 1000 is used";
inline constexpr const char* kOptionErrorCaption = "Error...";

inline constexpr const char* kNoOutDevices =
    "Note: You have no available Midi Out devices. This program is useless without a Midi Out "
    "Device";
inline constexpr const char* kNoInDevices =
    "You have no available Midi In devices. This program is useless without a Midi In Device";
inline constexpr const char* kNoDevicesCaption = "Midi Device Error";

inline constexpr const char* kInvalidOutputPort = "You have specified an invalid output port";
inline constexpr const char* kUnlockQuestion =
    "This option will allow you to delete the default songs. Are you sure you want to do this? "
    "Orvik30 must have version 1.04.00.03 or later. Melko30 must have version 1.04.02.03 or later";
inline constexpr const char* kUnlockCaption = "Unlock Default Songs";

}  // namespace AppTexts
