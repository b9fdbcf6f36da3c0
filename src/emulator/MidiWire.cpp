#include "emulator/MidiWire.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kBitsPerByte = 10;  // a start bit, eight data bits, a stop bit
constexpr int64_t kNanosecondsPerSecond = 1000000000;

}  // namespace

cMidiWire::cMidiWire(uint32_t uiBaud, uint32_t uiBufferBytes)
    : ByteTime(kBitsPerByte * kNanosecondsPerSecond / std::max<int64_t>(uiBaud, 1)),
      BufferBytes(uiBufferBytes) {}

// How many more bytes can come at At: one straight onto an idle wire, and as many as the buffer
// has room for beside those still waiting (the byte on the wire holds no place in it).
size_t cMidiWire::Room(tTime At) const {
    if (BufferBytes == 0) {
        return std::numeric_limits<size_t>::max();
    }
    if (BusyUntil <= At) {
        return size_t{BufferBytes} + 1;
    }
    const auto uiUnfinished =
        static_cast<size_t>((BusyUntil - At + ByteTime - std::chrono::nanoseconds(1)) / ByteTime);
    const size_t uiWaiting = uiUnfinished - 1;
    return uiWaiting < BufferBytes ? BufferBytes - uiWaiting : 0;
}

cMidiWire::tCrossing cMidiWire::Carry(tTime At, size_t uiBytes) {
    tCrossing Crossing;
    Crossing.Kept = std::min(uiBytes, Room(At));
    Crossing.Lost = uiBytes - Crossing.Kept;
    Crossing.Across = std::max(At, BusyUntil) + ByteTime * static_cast<int64_t>(Crossing.Kept);
    if (Crossing.Kept != 0) {
        BusyUntil = Crossing.Across;
    }
    return Crossing;
}
