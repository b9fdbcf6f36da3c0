#include "midi/Utf16Text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& Out, char32_t cpValue) {
    if (cpValue < 0x80) {
        Out += static_cast<char>(cpValue);
    } else if (cpValue < 0x800) {
        Out += static_cast<char>(0xC0 | (cpValue >> 6));
        Out += static_cast<char>(0x80 | (cpValue & 0x3F));
    } else if (cpValue < 0x10000) {
        Out += static_cast<char>(0xE0 | (cpValue >> 12));
        Out += static_cast<char>(0x80 | ((cpValue >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (cpValue & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (cpValue >> 18));
        Out += static_cast<char>(0x80 | ((cpValue >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((cpValue >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (cpValue & 0x3F));
    }
}

bool IsHighSurrogate(char16_t cUnit) {
    return cUnit >= 0xD800 && cUnit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t cUnit) {
    return cUnit >= 0xDC00 && cUnit <= 0xDFFF;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view Text) {
    std::string Out;
    for (size_t i = 0; i < Text.size(); ++i) {
        const char16_t cUnit = Text[i];
        if (IsHighSurrogate(cUnit) && i + 1 < Text.size() && IsLowSurrogate(Text[i + 1])) {
            const char16_t cLow = Text[++i];
            AppendUtf8(Out, 0x10000 + ((char32_t{cUnit} - 0xD800) << 10) + (cLow - 0xDC00));
        } else if (IsHighSurrogate(cUnit) || IsLowSurrogate(cUnit)) {
            AppendUtf8(Out, kReplacement);
        } else {
            AppendUtf8(Out, cUnit);
        }
    }
    return Out;
}
