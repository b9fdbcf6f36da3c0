#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Joins the chunks of long-message output into whole messages, for receivers that take a SysEx
// only whole (RtMidi, a device model). A SysEx runs from 0xF0 to 0xF7 across any number of
// chunks; bytes outside one pass on as they come, one message per chunk. A SysEx that a new
// 0xF0 interrupts, or that grows past kMaxMessage bytes, passes on as it stands, so that nothing
// sent is held back without bound.
class cSysexJoiner {
  public:
    static constexpr size_t kMaxMessage = 65536;

    // Takes the next chunk; returns the messages it completes, in order.
    std::vector<std::vector<uint8_t>> Add(const uint8_t* pucBytes, size_t uiCount);
    // Forgets a SysEx begun but not ended.
    void Clear() { Pending.clear(); }
    bool IsInsideSysex() const { return !Pending.empty(); }

  private:
    std::vector<uint8_t> Pending;
};
