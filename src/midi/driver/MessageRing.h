#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// A ring of whole messages from one producer thread to one consumer thread, without a lock:
// each side moves only its own count, stored with release and loaded with acquire ordering, so
// that neither sees a count before the bytes it covers. The consumer may be a realtime thread:
// nothing in it allocates or waits.
class cMessageRing {
  public:
    // Room for uiCapacity bytes, each message taking its length and a 4-byte header.
    explicit cMessageRing(size_t uiCapacity);
    cMessageRing(const cMessageRing&) = delete;
    cMessageRing& operator=(const cMessageRing&) = delete;

    // Producer: whether a message of uiCount bytes fits now.
    bool HasRoomFor(size_t uiCount) const;
    // Producer: puts a whole message in; false, writing nothing, when it does not fit now.
    bool Push(const uint8_t* pucMessage, size_t uiCount);
    // Consumer: the length of the next message, 0 when there is none.
    size_t NextLength() const;
    // Consumer: moves the next message into pucTo (NextLength bytes), or drops it when pucTo
    // is null.
    void Pop(uint8_t* pucTo);

  private:
    using tLength = uint32_t;

    void CopyIn(uint64_t uiAt, const uint8_t* pucFrom, size_t uiCount);
    void CopyOut(uint64_t uiAt, uint8_t* pucTo, size_t uiCount) const;

    const size_t Capacity;
    std::unique_ptr<uint8_t[]> Bytes;
    std::atomic<uint64_t> Written{0};  // moved by the producer only
    std::atomic<uint64_t> Read{0};     // moved by the consumer only
};
