#include "emulator/MessageSplitter.h"

#include <utility>

#include "midi/SysexBytes.h"

namespace {

constexpr uint8_t kFirstRealTime = 0xF8;

bool IsStatus(uint8_t ucByte) {
    return ucByte >= 0x80;
}

void PassOn(std::vector<std::vector<uint8_t>>& Done, std::vector<uint8_t>& Message) {
    if (!Message.empty()) {
        Done.push_back(std::move(Message));
        Message.clear();
    }
}

}  // namespace

std::vector<std::vector<uint8_t>> cMessageSplitter::Add(std::span<const uint8_t> Bytes) {
    std::vector<std::vector<uint8_t>> Done;
    for (const uint8_t ucByte : Bytes) {
        if (ucByte >= kFirstRealTime) {
            Done.push_back({ucByte});
        } else if (!Sysex.empty() && !IsStatus(ucByte)) {
            Sysex.push_back(ucByte);
            if (Sysex.size() >= kMaxSysex) {
                PassOn(Done, Sysex);
            }
        } else if (!Sysex.empty() && ucByte == kSysexEnd) {
            Sysex.push_back(ucByte);
            PassOn(Done, Sysex);
        } else if (IsStatus(ucByte)) {
            PassOn(Done, Sysex);  // cut short: its F7 never came
            PassOn(Done, Other);
            (ucByte == kSysexStart ? Sysex : Other).push_back(ucByte);
        } else {
            Other.push_back(ucByte);
        }
    }
    PassOn(Done, Other);
    return Done;
}
