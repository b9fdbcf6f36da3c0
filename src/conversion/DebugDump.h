#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// The optional text dump of a conversion: one row per section written to the x10 file. A dump
// that cannot be written never changes the result of a conversion, but is reported.
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
    // Closes the dump; false if it could not be created or any write to it failed.
    bool Finish();
    // The system's reason for the first failure, empty while there is none.
    const std::string& GetFailureText() const { return FailureText; }

  private:
    void Check(bool bWritten);

    std::FILE* File = nullptr;
    uint32_t RowNumber = 0;
    uint64_t TotalTime = 0;
    std::string FailureText;
};
