#include "cli/DeviceChoice.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string Lower(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return Text;
}

bool ParseIndex(const std::string& Wanted, uint32_t& uiIndex) {
    const char* pLast = Wanted.data() + Wanted.size();
    const auto [pEnd, eError] = std::from_chars(Wanted.data(), pLast, uiIndex);
    return !Wanted.empty() && eError == std::errc() && pEnd == pLast;
}

std::string DeviceList(const std::vector<std::string>& Names) {
    std::string List;
    for (size_t i = 0; i < Names.size(); ++i) {
        List += "\n  " + std::to_string(i) + "  " + Names[i];
    }
    return Names.empty() ? " none" : List;
}

}  // namespace

tDeviceChoice ChooseDevice(const char* szKind, const std::vector<std::string>& Names,
                           const std::string& Wanted) {
    tDeviceChoice Choice;
    uint32_t uiIndex = 0;
    if (ParseIndex(Wanted, uiIndex)) {
        if (uiIndex < Names.size()) {
            Choice.iIndex = static_cast<int32_t>(uiIndex);
        } else {
            Choice.Error = std::string("there is no MIDI ") + szKind + " device " + Wanted +
                           "; the devices are:" + DeviceList(Names);
        }
        return Choice;
    }
    std::vector<int32_t> Matches;
    for (size_t i = 0; i < Names.size(); ++i) {
        if (!Wanted.empty() && Lower(Names[i]).find(Lower(Wanted)) != std::string::npos) {
            Matches.push_back(static_cast<int32_t>(i));
        }
    }
    if (Matches.size() == 1) {
        Choice.iIndex = Matches.front();
    } else {
        Choice.Error = std::string(Matches.empty() ? "no" : "more than one") + " MIDI " + szKind +
                       " device matches '" + Wanted + "'; the devices are:" + DeviceList(Names);
    }
    return Choice;
}
