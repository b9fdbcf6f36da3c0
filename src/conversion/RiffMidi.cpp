#include "conversion/RiffMidi.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kFormHeaderBytes = 12;  // "RIFF", the form's length, "RMID"
constexpr size_t kChunkHeaderBytes = 8;  // the chunk's kind and its length

uint32_t LittleEndian32(const uint8_t* pucBytes) {
    return uint32_t{pucBytes[0]} | uint32_t{pucBytes[1]} << 8 | uint32_t{pucBytes[2]} << 16 |
           uint32_t{pucBytes[3]} << 24;
}

bool IsKind(const uint8_t* pucBytes, const char* szKind) {
    return std::memcmp(pucBytes, szKind, 4) == 0;
}

tWrappedSong Damaged(const std::string& Why) {
    tWrappedSong Result;
    Result.Fault = "the RIFF MIDI wrapper is damaged: " + Why;
    return Result;
}

}  // namespace

bool IsRiffMidi(std::span<const uint8_t> File) {
    return File.size() >= kFormHeaderBytes && IsKind(File.data(), "RIFF") &&
           IsKind(File.data() + 8, "RMID");
}

// The form's own length is not trusted: a chunk counts when it lies whole within the file.
tWrappedSong FindWrappedSong(std::span<const uint8_t> File) {
    size_t uiAt = kFormHeaderBytes;
    while (uiAt + kChunkHeaderBytes <= File.size()) {
        const uint8_t* pucChunk = File.data() + uiAt;
        const uint64_t qwLength = LittleEndian32(pucChunk + 4);
        const size_t uiData = uiAt + kChunkHeaderBytes;
        if (qwLength > File.size() - uiData) {
            return Damaged("its chunk \"" + std::string(pucChunk, pucChunk + 4) + "\" of " +
                           std::to_string(qwLength) + " bytes runs past the end of the file");
        }
        if (IsKind(pucChunk, "data")) {
            return {uiData, static_cast<size_t>(qwLength), {}};
        }
        uiAt = uiData + static_cast<size_t>(qwLength) + (qwLength % 2);  // chunks align to 2
    }
    return Damaged("it holds no \"data\" chunk");
}
