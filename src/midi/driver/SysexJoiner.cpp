#include "midi/driver/SysexJoiner.h"

#include <utility>

#include "midi/SysexBytes.h"

namespace {

void PassOn(std::vector<std::vector<uint8_t>>& Done, std::vector<uint8_t>& Message) {
    if (!Message.empty()) {
        Done.push_back(std::move(Message));
        Message.clear();
    }
}

}  // namespace

std::vector<std::vector<uint8_t>> cSysexJoiner::Add(const uint8_t* pucBytes, size_t uiCount) {
    std::vector<std::vector<uint8_t>> Done;
    std::vector<uint8_t> Loose;
    for (size_t i = 0; i < uiCount; ++i) {
        const uint8_t ucByte = pucBytes[i];
        if (ucByte == kSysexStart) {
            PassOn(Done, Loose);
            PassOn(Done, Pending);
            Pending.push_back(ucByte);
        } else if (!Pending.empty()) {
            Pending.push_back(ucByte);
            if (ucByte == kSysexEnd || Pending.size() >= kMaxMessage) {
                PassOn(Done, Pending);
            }
        } else {
            Loose.push_back(ucByte);
        }
    }
    PassOn(Done, Loose);
    return Done;
}
