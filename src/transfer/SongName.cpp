#include "transfer/SongName.h"

#include "transfer/FileDumpMessages.h"

namespace {

// The number of bytes of the UTF-8 sequence that starts with this byte; 1 for a stray byte.
size_t SequenceLength(unsigned char ucLead) {
    if (ucLead >= 0xF0 && ucLead <= 0xF4) {
        return 4;
    }
    if (ucLead >= 0xE0) {
        return ucLead <= 0xEF ? 3 : 1;
    }
    return ucLead >= 0xC2 ? 2 : 1;
}

bool IsContinuation(unsigned char ucByte) {
    return (ucByte & 0xC0) == 0x80;
}

// A byte the header may carry as it is: a SysEx data byte that shows as a character.
bool IsPrintableAscii(unsigned char ucByte) {
    return ucByte >= 0x20 && ucByte < 0x7F;
}

}  // namespace

std::string SongNameFromPath(const std::string& Path) {
    const size_t uiSeparator = Path.find_last_of("/\\");
    size_t uiStart = uiSeparator == std::string::npos ? 0 : uiSeparator + 1;
    // A hidden file's leading dot would otherwise leave an empty name, which the device refuses.
    while (uiStart < Path.size() && Path[uiStart] == '.') {
        ++uiStart;
    }
    std::string Name;
    for (size_t i = uiStart; i < Path.size() && Path[i] != '.' &&
                             Name.size() < static_cast<size_t>(FileDump::kMaxNameLength);) {
        const auto ucByte = static_cast<unsigned char>(Path[i]);
        if (ucByte < 0x80) {
            Name.push_back(IsPrintableAscii(ucByte) ? static_cast<char>(ucByte) : '_');
            ++i;
            continue;
        }
        // One character outside ASCII, however many bytes it takes, becomes one '_'.
        size_t uiLength = SequenceLength(ucByte);
        size_t uiTaken = 1;
        while (uiTaken < uiLength && i + uiTaken < Path.size() &&
               IsContinuation(static_cast<unsigned char>(Path[i + uiTaken]))) {
            ++uiTaken;
        }
        Name.push_back('_');
        i += uiTaken;
    }
    return Name;
}
