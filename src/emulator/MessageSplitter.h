#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Cuts the bytes a MIDI API delivers into messages as the MIDI wire defines them. A System
// Exclusive message runs from F0 to F7, across deliveries if need be; any other status byte ends
// it unterminated, so that a lost F7 cannot swallow the messages after it. Real-time bytes (F8
// to FF) may come anywhere and are messages of their own. Outside a SysEx every status byte
// starts a message, and a delivery ends the message it holds.
class cMessageSplitter {
  public:
    // A SysEx growing past this passes on as it stands, so that memory stays bounded.
    static constexpr size_t kMaxSysex = 65536;

    // Takes the next delivery; returns the messages it completes, in order.
    std::vector<std::vector<uint8_t>> Add(std::span<const uint8_t> Bytes);

  private:
    std::vector<uint8_t> Sysex;  // a SysEx begun in this delivery or an earlier one
    std::vector<uint8_t> Other;  // any other message, within one delivery
};
