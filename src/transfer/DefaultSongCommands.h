#pragma once

#include <array>
#include <cstdint>

// The device's commands that unlock or lock its default songs: six-byte manufacturer-specific
// SysEx messages. The two of a pair differ only in their third byte; unlock and lock only in
// their fifth (01 unlocks, 00 locks).
namespace DefaultSongCommands {

using tCommand = std::array<uint8_t, 6>;

inline constexpr tCommand kUnlockFirst = {0xF0, 0x08, 0x42, 0x53, 0x01, 0xF7};
inline constexpr tCommand kUnlockSecond = {0xF0, 0x08, 0x43, 0x53, 0x01, 0xF7};
inline constexpr tCommand kLockFirst = {0xF0, 0x08, 0x42, 0x53, 0x00, 0xF7};
inline constexpr tCommand kLockSecond = {0xF0, 0x08, 0x43, 0x53, 0x00, 0xF7};

// The device needs these pauses between the messages and before the port is closed.
inline constexpr int32_t kPauseBetweenUnlockMs = 500;
inline constexpr int32_t kPauseBeforeCloseMs = 1000;

// A command and how long the device needs before the next message or the port's closing.
struct tTimedCommand {
    const tCommand& Command;
    int32_t iPauseAfterMs;
};

}  // namespace DefaultSongCommands
