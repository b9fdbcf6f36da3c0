#include "midi/driver/ProgramPortNames.h"

#include <chrono>
#include <cstdint>
#include <iomanip>
#include <random>
#include <sstream>
#include <string_view>

namespace {

constexpr size_t kTagDigits = 8;

bool IsHexDigit(char cChar) {
    return (cChar >= '0' && cChar <= '9') || (cChar >= 'a' && cChar <= 'f');
}

// Whether Rest starts with the tag's digits and a direction, and ends there or at a space (some
// systems append the port's address).
bool IsTagAndDirection(std::string_view Rest) {
    if (Rest.size() < kTagDigits) {
        return false;
    }
    for (size_t i = 0; i < kTagDigits; ++i) {
        if (!IsHexDigit(Rest[i])) {
            return false;
        }
    }
    Rest.remove_prefix(kTagDigits);
    for (const std::string_view Direction : {std::string_view(" in"), std::string_view(" out")}) {
        if (Rest.substr(0, Direction.size()) == Direction) {
            const std::string_view After = Rest.substr(Direction.size());
            if (After.empty() || After.front() == ' ') {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

std::string MakeOwnTag() {
    uint32_t dwRandom = 0;
    try {
        std::random_device Random;
        dwRandom = Random();
    } catch (...) {
        dwRandom =
            static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    std::ostringstream Tag;
    Tag << kMidiClientName << " " << std::hex << std::setw(kTagDigits) << std::setfill('0')
        << dwRandom;
    return Tag.str();
}

std::string OwnPortName(const std::string& OwnTag, bool bInput) {
    return OwnTag + (bInput ? " in" : " out");
}

bool IsProgramPortName(const std::string& FullName) {
    const std::string Prefix = std::string(kMidiClientName) + " ";
    for (size_t uiAt = FullName.find(Prefix); uiAt != std::string::npos;
         uiAt = FullName.find(Prefix, uiAt + 1)) {
        if (IsTagAndDirection(std::string_view(FullName).substr(uiAt + Prefix.size()))) {
            return true;
        }
    }
    return false;
}
