#pragma once

// The messages that end a transfer early, with their captions.
namespace TransferMessages {

inline constexpr const char* kCancelled =
    "TAV has cancelled, please shut down your Orvik and restart";
inline constexpr const char* kSendError =
    "Song Send Error, please shut down your Orvik and restart";
inline constexpr const char* kMismatch = "Packet Mismatch";
inline constexpr const char* kTimedOut =
    "Not Receiving a response from device, please make sure it is on and properly connected";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kNoCaption = "";

}  // namespace TransferMessages
