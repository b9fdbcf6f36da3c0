#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The faults that the fault storm acts out, in the order the tallies list them.
enum tFaultKind : uint8_t {
    FAULT_NAK,            // NAK the first arrival; the resend is taken
    FAULT_SILENT,         // no reply at all
    FAULT_WAIT,           // WAIT, and the real reply later
    FAULT_LATE,           // the reply late
    FAULT_TWICE,          // the reply twice
    FAULT_NUMBER_BEFORE,  // the reply numbered as the message before
    FAULT_NOISE,          // stray bytes before the reply
    FAULT_LOST,           // the message never reached the device
    FAULT_CANCEL,         // CANCEL in place of the reply
    FAULT_EOF,            // EOF in place of the reply
};

inline constexpr size_t kFaultKinds = FAULT_EOF + 1;

// How many faults of each kind were acted out, on one file or in all.
class cFaultTally {
  public:
    void Add(tFaultKind eKind) { ++Counts[eKind]; }
    uint32_t Count(tFaultKind eKind) const { return Counts[eKind]; }
    uint32_t Total() const;
    // "3 NAK, 1 late, 1 lost": the kinds acted out, in a fixed order; empty when none.
    std::string Text() const;

  private:
    std::array<uint32_t, kFaultKinds> Counts{};
};
