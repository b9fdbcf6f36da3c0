#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "emulator/FaultTally.h"

// What the device says about one file that it received, whole or not.
struct tFileReport {
    std::string Name;
    uint32_t Bytes = 0;                // file bytes received
    uint32_t DeclaredBytes = 0;        // the length that the header announced
    uint32_t DataPackets = 0;          // data packets taken into the file
    uint32_t Resends = 0;              // packets that arrived again (after a NAK or as a duplicate)
    cFaultTally Faults;                // faults the storm acted out on the file
    uint32_t WireLostBytes = 0;        // bytes of the file's messages that the wire lost
    bool bOk = false;                  // received whole and stored
    std::string Verdict;               // "ok", or why not
    std::filesystem::path StoredPath;  // set when stored
};

inline constexpr const char* kVerdictOk = "ok";

// One line: file "NAME": bytes B, data packets P, resends R: VERDICT, then, where there were
// any, "; faults: 3 NAK, 1 late" and "; wire lost 412 bytes".
std::string FormatFileReport(const tFileReport& Report);

// A song name in double quotes; a quote, a backslash and any byte outside printable 7-bit
// ASCII are shown as \xHH, so that the line stays one printable line whatever the header held.
std::string QuotedName(const std::string& Name);
