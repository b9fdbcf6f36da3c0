#include "midi/driver/MessageRing.h"

#include <algorithm>
#include <cstring>

cMessageRing::cMessageRing(size_t uiCapacity)
    : uiCapacity(uiCapacity), aucBytes(std::make_unique<uint8_t[]>(uiCapacity)) {}

bool cMessageRing::HasRoomFor(size_t uiCount) const {
    const uint64_t uiUsed =
        uiWritten.load(std::memory_order_relaxed) - uiRead.load(std::memory_order_acquire);
    return sizeof(tLength) + uiCount <= uiCapacity - uiUsed;
}

bool cMessageRing::Push(const uint8_t* pucMessage, size_t uiCount) {
    if (uiCount == 0 || !HasRoomFor(uiCount)) {
        return false;
    }
    const uint64_t uiAt = uiWritten.load(std::memory_order_relaxed);
    const auto uiLength = static_cast<tLength>(uiCount);
    CopyIn(uiAt, reinterpret_cast<const uint8_t*>(&uiLength), sizeof(uiLength));
    CopyIn(uiAt + sizeof(uiLength), pucMessage, uiCount);
    uiWritten.store(uiAt + sizeof(uiLength) + uiCount, std::memory_order_release);
    return true;
}

size_t cMessageRing::NextLength() const {
    const uint64_t uiAt = uiRead.load(std::memory_order_relaxed);
    if (uiWritten.load(std::memory_order_acquire) == uiAt) {
        return 0;
    }
    tLength uiLength = 0;
    CopyOut(uiAt, reinterpret_cast<uint8_t*>(&uiLength), sizeof(uiLength));
    return uiLength;
}

void cMessageRing::Pop(uint8_t* pucTo) {
    const size_t uiLength = NextLength();
    if (uiLength == 0) {
        return;
    }
    const uint64_t uiAt = uiRead.load(std::memory_order_relaxed) + sizeof(tLength);
    if (pucTo != nullptr) {
        CopyOut(uiAt, pucTo, uiLength);
    }
    uiRead.store(uiAt + uiLength, std::memory_order_release);
}

void cMessageRing::CopyIn(uint64_t uiAt, const uint8_t* pucFrom, size_t uiCount) {
    const size_t uiStart = uiAt % uiCapacity;
    const size_t uiFirst = std::min(uiCount, uiCapacity - uiStart);
    std::memcpy(aucBytes.get() + uiStart, pucFrom, uiFirst);
    std::memcpy(aucBytes.get(), pucFrom + uiFirst, uiCount - uiFirst);
}

void cMessageRing::CopyOut(uint64_t uiAt, uint8_t* pucTo, size_t uiCount) const {
    const size_t uiStart = uiAt % uiCapacity;
    const size_t uiFirst = std::min(uiCount, uiCapacity - uiStart);
    std::memcpy(pucTo, aucBytes.get() + uiStart, uiFirst);
    std::memcpy(pucTo + uiFirst, aucBytes.get(), uiCount - uiFirst);
}
