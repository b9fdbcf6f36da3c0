#include "emulator/FileReport.h"

#include "emulator/HexText.h"

std::string QuotedName(const std::string& Name) {
    std::string Text = "\"";
    for (const char cChar : Name) {
        const auto ucChar = static_cast<uint8_t>(cChar);
        if (ucChar < 0x20 || ucChar >= 0x7F || cChar == '"' || cChar == '\\') {
            Text += "\\x" + Hex2(ucChar);
        } else {
            Text += cChar;
        }
    }
    return Text + "\"";
}

std::string FormatFileReport(const tFileReport& Report) {
    std::string Line = "file " + QuotedName(Report.Name) + ": bytes " +
                       std::to_string(Report.Bytes) + ", data packets " +
                       std::to_string(Report.DataPackets) + ", resends " +
                       std::to_string(Report.Resends) + ": " + Report.Verdict;
    if (Report.Faults.Total() != 0) {
        Line += "; faults: " + Report.Faults.Text();
    }
    if (Report.WireLostBytes != 0) {
        Line += "; wire lost " + std::to_string(Report.WireLostBytes) + " bytes";
    }
    return Line;
}
