#include "midi/driver/MessageRing.h"

#include <algorithm>
#include <cstring>

cMessageRing::cMessageRing(size_t uiCapacity)
    : Capacity(uiCapacity), Bytes(std::make_unique<uint8_t[]>(uiCapacity)) {}

bool cMessageRing::HasRoomFor(size_t uiCount) const {
    const uint64_t uiUsed =
        Written.load(std::memory_order_relaxed) - Read.load(std::memory_order_acquire);
    return sizeof(tLength) + uiCount <= Capacity - uiUsed;
}

bool cMessageRing::Push(const uint8_t* pucMessage, size_t uiCount) {
    if (uiCount == 0 || !HasRoomFor(uiCount)) {
        return false;
    }
    const uint64_t uiAt = Written.load(std::memory_order_relaxed);
    const auto uiLength = static_cast<tLength>(uiCount);
    CopyIn(uiAt, reinterpret_cast<const uint8_t*>(&uiLength), sizeof(uiLength));
    CopyIn(uiAt + sizeof(uiLength), pucMessage, uiCount);
    Written.store(uiAt + sizeof(uiLength) + uiCount, std::memory_order_release);
    return true;
}

size_t cMessageRing::NextLength() const {
    const uint64_t uiAt = Read.load(std::memory_order_relaxed);
    if (Written.load(std::memory_order_acquire) == uiAt) {
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
    const uint64_t uiAt = Read.load(std::memory_order_relaxed) + sizeof(tLength);
    if (pucTo != nullptr) {
        CopyOut(uiAt, pucTo, uiLength);
    }
    Read.store(uiAt + uiLength, std::memory_order_release);
}

void cMessageRing::CopyIn(uint64_t uiAt, const uint8_t* pucFrom, size_t uiCount) {
    const size_t uiStart = uiAt % Capacity;
    const size_t uiFirst = std::min(uiCount, Capacity - uiStart);
    std::memcpy(Bytes.get() + uiStart, pucFrom, uiFirst);
    std::memcpy(Bytes.get(), pucFrom + uiFirst, uiCount - uiFirst);
}

void cMessageRing::CopyOut(uint64_t uiAt, uint8_t* pucTo, size_t uiCount) const {
    const size_t uiStart = uiAt % Capacity;
    const size_t uiFirst = std::min(uiCount, Capacity - uiStart);
    std::memcpy(pucTo, Bytes.get() + uiStart, uiFirst);
    std::memcpy(pucTo + uiFirst, Bytes.get(), uiCount - uiFirst);
}
