#include "conversion/MetaEvent.h"

namespace {

constexpr uint8_t kSetTempo = 0x51;

}  // namespace

uint32_t cMetaEvent::GetTempo() const {
    if (ucEventType != kSetTempo) {
        return 0;
    }
    uint32_t dwTempo = 0;
    for (uint32_t i = 0; i < dwEventLength && i < kBufferSize; ++i) {
        dwTempo = (dwTempo << 8) | pucEventData[i];
    }
    return dwTempo;
}
