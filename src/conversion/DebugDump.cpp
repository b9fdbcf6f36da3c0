#include "conversion/DebugDump.h"

bool cDebugDump::Start() {
    Finish();
    pFile = std::fopen(kFileName, "w");
    if (pFile == nullptr) {
        return false;
    }
    dwRowNumber = 0;
    dwTotalTime = 0;
    std::fprintf(pFile, "\tVantor MIDI TYPEx10 Debug Dump\n");
    std::fprintf(pFile,
                 "Section     :Original DT :DT         : TOT TIME    : LEN         : DATA\n");
    return true;
}

void cDebugDump::AddRow(float fOrigDeltaTime, uint32_t dwDeltaTime, const uint8_t* pucEvents,
                        uint32_t dwEventLen) {
    if (pFile == nullptr) {
        return;
    }
    dwTotalTime += dwDeltaTime;
    // Unsigned conversions: the running total may pass 2^31 in a long song.
    std::fprintf(pFile, "\n%12u:%12.1f:%12u:%12u:%12u:", dwRowNumber,
                 static_cast<double>(fOrigDeltaTime), dwDeltaTime, dwTotalTime, dwEventLen);
    for (uint32_t i = 0; i < dwEventLen; ++i) {
        std::fprintf(pFile, " %02X", pucEvents[i]);
    }
    ++dwRowNumber;
}

void cDebugDump::Finish() {
    if (pFile != nullptr) {
        std::fclose(pFile);
        pFile = nullptr;
    }
}
