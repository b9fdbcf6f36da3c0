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
    pFile = std::fopen(kFileName, "w");
    if (pFile == nullptr) {
        Check(false);
        return false;
    }
    dwRowNumber = 0;
    qwTotalTime = 0;
    Check(std::fprintf(pFile, "\tVantor MIDI TYPEx10 Debug Dump\n") >= 0);
    Check(std::fprintf(
              pFile, "Section     :Original DT :DT         : TOT TIME    : LEN         : DATA\n") >=
          0);
    return true;
}

void cDebugDump::AddRow(float fOrigDeltaTime, uint32_t dwDeltaTime, const uint8_t* pucEvents,
                        uint32_t dwEventLen) {
    if (pFile == nullptr) {
        return;
    }
    qwTotalTime += dwDeltaTime;
    // Unsigned conversions, and a 64-bit total: a song of more than 4.7 hours passes 2^32 units.
    Check(std::fprintf(pFile, "\n%12u:%12.1f:%12u:%12llu:%12u:", dwRowNumber,
                       static_cast<double>(fOrigDeltaTime), dwDeltaTime,
                       static_cast<unsigned long long>(qwTotalTime), dwEventLen) >= 0);
    for (uint32_t i = 0; i < dwEventLen; ++i) {
        Check(std::fprintf(pFile, " %02X", pucEvents[i]) >= 0);
    }
    ++dwRowNumber;
}

bool cDebugDump::Finish() {
    if (pFile != nullptr) {
        errno = 0;
        Check(std::fclose(pFile) == 0);  // flushes; a full disk shows here
        pFile = nullptr;
    }
    return FailureText.empty();
}
