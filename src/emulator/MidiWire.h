#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// The emulated MIDI wire of the command line: off while BaudRate is 0.
struct tWireOptions {
    uint32_t BaudRate = 0;    // 31250 for a MIDI cable
    uint32_t BufferSize = 0;  // bytes held for the wire toward the device; 0: no limit
};

// One direction of a MIDI cable. Bytes cross it one after another in the order they come, ten
// bits a byte at the baud rate. A byte that finds the wire busy waits in the interface's buffer;
// one that comes while the buffer is full is lost. It reads no clock: the times are given.
class cMidiWire {
  public:
    using tTime = std::chrono::steady_clock::time_point;

    struct tCrossing {
        size_t Kept = 0;  // the first bytes, which cross
        size_t Lost = 0;  // the rest, lost for want of room
        tTime Across;     // when the last byte kept has crossed
    };

    // uiBufferBytes 0: a buffer without limit.
    cMidiWire(uint32_t uiBaud, uint32_t uiBufferBytes);

    // Bytes that come together at At, after all that came before.
    tCrossing Carry(tTime At, size_t uiBytes);

  private:
    size_t Room(tTime At) const;

    std::chrono::nanoseconds ByteTime;
    uint32_t BufferBytes;
    tTime BusyUntil;  // when the last byte put on the wire has crossed
};
