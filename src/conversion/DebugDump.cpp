#include "conversion/DebugDump.h"

#include <cerrno>

#include "files/FileAccess.h"

void cDebugDump::Check(bool bWritten) {
    if (!bWritten && FailureText.empty()) {
        FailureText = SystemErrorText(errno != 0 ? errno : EIO);
    }
}

bool cDebugDump::Start() {
    Finish();
    FailureText.clear();
    errno = 0;
    File = std::fopen(kFileName, "w");
    if (File == nullptr) {
        Check(false);
        return false;
    }
    RowNumber = 0;
    TotalTime = 0;
    Check(std::fprintf(File, "\tVantor MIDI TYPEx10 Debug Dump\n") >= 0);
    Check(std::fprintf(
              File, "Section     :Original DT :DT         : TOT TIME    : LEN         : DATA\n") >=
          0);
    return true;
}

void cDebugDump::AddRow(float fOrigDeltaTime, uint32_t dwDeltaTime, const uint8_t* pucEvents,
                        uint32_t dwEventLen) {
    if (File == nullptr) {
        return;
    }
    TotalTime += dwDeltaTime;
    // Unsigned conversions, and a 64-bit total: a song of more than 4.7 hours passes 2^32 units.
    Check(std::fprintf(File, "\n%12u:%12.1f:%12u:%12llu:%12u:", RowNumber,
                       static_cast<double>(fOrigDeltaTime), dwDeltaTime,
                       static_cast<unsigned long long>(TotalTime), dwEventLen) >= 0);
    for (uint32_t i = 0; i < dwEventLen; ++i) {
        Check(std::fprintf(File, " %02X", pucEvents[i]) >= 0);
    }
    ++RowNumber;
}

bool cDebugDump::Finish() {
    if (File != nullptr) {
        errno = 0;
        Check(std::fclose(File) == 0);  // flushes; a full disk shows here
        File = nullptr;
    }
    return FailureText.empty();
}
