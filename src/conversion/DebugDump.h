#pragma once

#include <cstdint>
#include <cstdio>

// The optional text dump of a conversion: one row per section written to the x10 file.
// Writes to it are not checked; the dump never changes the result of a conversion.
class cDebugDump {
  public:
    static constexpr const char* kFileName = "mididebug.txt";

    cDebugDump() = default;
    cDebugDump(const cDebugDump&) = delete;
    cDebugDump& operator=(const cDebugDump&) = delete;
    ~cDebugDump() { Finish(); }

    // Creates (or empties) the dump in the working directory; false if it cannot be created.
    bool Start();
    void AddRow(float fOrigDeltaTime, uint32_t dwDeltaTime, const uint8_t* pucEvents,
                uint32_t dwEventLen);
    void Finish();

  private:
    std::FILE* pFile = nullptr;
    uint32_t dwRowNumber = 0;
    uint32_t dwTotalTime = 0;
};
