#pragma once

#include <array>
#include <cstdint>

// The last SysEx event met in the track, as its file bytes: 0xF0, the length quantity, the
// data. The length is 0 for an event that was read past and left out.
class cSysexEvent {
  public:
    static constexpr uint32_t kBufferSize = 256;

    uint8_t* GetEventPtr() { return pucEventBuf.data(); }
    uint32_t GetEventLength() const { return dwEventLength; }
    uint32_t* GetEventLengthPtr() { return &dwEventLength; }

  private:
    std::array<uint8_t, kBufferSize> pucEventBuf{};
    uint32_t dwEventLength = 0;
};
