#include "midi/DeviceName.h"

#include <cstdint>
#include <string_view>

#include "midi/Utf16Text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at uiPos and moves uiPos past it. A bad lead byte or a sequence cut
// short yields U+FFFD and moves on by one byte; a whole sequence of a forbidden value (an
// overlong form, a surrogate, past U+10FFFF) yields one U+FFFD for the whole sequence.
char32_t NextCodePoint(std::string_view Bytes, size_t& uiPos) {
    const auto ucLead = static_cast<uint8_t>(Bytes[uiPos++]);
    if (ucLead < 0x80) {
        return ucLead;
    }
    // The lead byte tells how many continuation bytes follow and the smallest value that
    // needs them (anything smaller is an overlong form).
    size_t uiTrail = 0;
    char32_t cpValue = 0;
    char32_t cpMinimum = 0;
    if ((ucLead & 0xE0) == 0xC0) {
        uiTrail = 1;
        cpValue = ucLead & 0x1F;
        cpMinimum = 0x80;
    } else if ((ucLead & 0xF0) == 0xE0) {
        uiTrail = 2;
        cpValue = ucLead & 0x0F;
        cpMinimum = 0x800;
    } else if ((ucLead & 0xF8) == 0xF0) {
        uiTrail = 3;
        cpValue = ucLead & 0x07;
        cpMinimum = 0x10000;
    } else {
        return kReplacement;
    }
    if (Bytes.size() - uiPos < uiTrail) {
        return kReplacement;
    }
    for (size_t i = 0; i < uiTrail; ++i) {
        const auto ucNext = static_cast<uint8_t>(Bytes[uiPos + i]);
        if ((ucNext & 0xC0) != 0x80) {
            return kReplacement;
        }
        cpValue = (cpValue << 6) | (ucNext & 0x3F);
    }
    uiPos += uiTrail;
    const bool bSurrogate = cpValue >= 0xD800 && cpValue <= 0xDFFF;
    if (cpValue < cpMinimum || cpValue > 0x10FFFF || bSurrogate) {
        return kReplacement;
    }
    return cpValue;
}

}  // namespace

void CopyDeviceName(const std::string& Utf8Name, char16_t (&szPname)[MAXPNAMELEN]) {
    constexpr size_t kMaxUnits = MAXPNAMELEN - 1;
    size_t uiUnits = 0;
    size_t uiPos = 0;
    while (uiPos < Utf8Name.size()) {
        const char32_t cpValue = NextCodePoint(Utf8Name, uiPos);
        if (cpValue < 0x10000) {
            if (uiUnits + 1 > kMaxUnits) {
                break;
            }
            szPname[uiUnits++] = static_cast<char16_t>(cpValue);
        } else {
            if (uiUnits + 2 > kMaxUnits) {
                break;
            }
            const char32_t cpOffset = cpValue - 0x10000;
            szPname[uiUnits++] = static_cast<char16_t>(0xD800 + (cpOffset >> 10));
            szPname[uiUnits++] = static_cast<char16_t>(0xDC00 + (cpOffset & 0x3FF));
        }
    }
    for (size_t i = uiUnits; i < MAXPNAMELEN; ++i) {
        szPname[i] = 0;
    }
}

std::string DeviceNameToUtf8(const char16_t* szPname) {
    if (szPname == nullptr) {
        return {};
    }
    size_t uiLength = 0;
    while (uiLength < MAXPNAMELEN && szPname[uiLength] != 0) {
        ++uiLength;
    }
    return Utf16ToUtf8(std::u16string_view(szPname, uiLength));
}
