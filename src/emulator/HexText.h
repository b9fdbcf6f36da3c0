#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Two upper-case hex digits, as report lines show bytes.
inline std::string Hex2(uint8_t ucByte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[ucByte >> 4], kDigits[ucByte & 0x0F]};
}

// Up to 16 bytes of a message in hex, for report lines: "F0 41 10 ... (40 bytes)".
inline std::string HexExcerpt(std::span<const uint8_t> Message) {
    constexpr size_t kShown = 16;
    std::string Text;
    for (size_t i = 0; i < Message.size() && i < kShown; ++i) {
        if (i > 0) {
            Text += ' ';
        }
        Text += Hex2(Message[i]);
    }
    if (Message.size() > kShown) {
        Text += " ... (" + std::to_string(Message.size()) + " bytes)";
    }
    return Text;
}
