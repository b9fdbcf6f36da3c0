#include "emulator/FaultTally.h"

#include <numeric>

namespace {

constexpr std::array<const char*, kFaultKinds> kNames = {
    "NAK", "silent", "WAIT", "late", "twice", "number before", "noise", "lost", "CANCEL", "EOF"};

}  // namespace

uint32_t cFaultTally::Total() const {
    return std::accumulate(Counts.begin(), Counts.end(), uint32_t{0});
}

std::string cFaultTally::Text() const {
    std::string Text;
    for (size_t i = 0; i < kFaultKinds; ++i) {
        if (Counts[i] != 0) {
            Text += (Text.empty() ? "" : ", ") + std::to_string(Counts[i]) + " " + kNames[i];
        }
    }
    return Text;
}
