#pragma once

#include <array>
#include <cstdint>

// The last meta event met in the track. Data of 256 bytes or more is never stored.
class cMetaEvent {
  public:
    static constexpr uint32_t kBufferSize = 256;

    void SetEventType(uint8_t ucMetaEvent) { ucEventType = ucMetaEvent; }
    void SetEventLength(uint32_t dwLen) { dwEventLength = dwLen; }
    uint8_t GetEventType() const { return ucEventType; }
    uint32_t GetEventLength() const { return dwEventLength; }
    uint8_t* ReturnEventDataBufPtr() { return pucEventData.data(); }
    uint32_t GetTempo() const;

  private:
    uint32_t dwEventLength = 0;
    uint8_t ucEventType = 0;
    std::array<uint8_t, kBufferSize> pucEventData{};
};
