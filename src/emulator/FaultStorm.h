#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "emulator/FaultTally.h"

// One fault to act out on one message, with its details.
struct tStormFault {
    tFaultKind Kind = FAULT_NAK;
    uint32_t DelayMs = 0;             // WAIT: how much later the real reply follows; late: how late
    uint8_t CancelReason = 0;         // CANCEL: 1 to 6
    std::vector<uint8_t> NoiseBytes;  // noise: 1 to 4 bytes, none of them F0 or F7
};

// A seeded storm of faults. Asked about each message that the device answers, it decides with
// chance P on one fault: most often one of the eight that the sender can recover from, and in
// one case of twenty a CANCEL or an EOF. The generator is its own (splitmix64), and every message
// takes four draws, so the same seed gives the same faults for the same messages everywhere.
class cFaultStorm {
  public:
    static constexpr uint32_t kRateScale = 1000000;  // rates are counted in millionths

    cFaultStorm() = default;  // calm: never a fault
    cFaultStorm(uint64_t uiSeed, uint32_t uiRate);
    // Acts out the given kind on the message of each given number (the messages asked about
    // count from 0) and nothing on the others; the details are drawn from the seed as ever.
    static cFaultStorm Scripted(std::map<uint64_t, tFaultKind> KindByMessage, uint64_t uiSeed = 0);

    bool IsOn() const { return Rate != 0 || !Script.empty(); }
    // The fault for the next message, if it meets one.
    std::optional<tStormFault> Next();

  private:
    uint64_t Draw();
    std::optional<tFaultKind> KindFor(uint64_t uiMessage, uint64_t uiChance, uint64_t uiPick) const;

    uint64_t State = 0;
    uint32_t Rate = 0;
    uint64_t Messages = 0;
    std::map<uint64_t, tFaultKind> Script;
};
