#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "TempDir.h"
#include "conversion/VantorMidiFile.h"
#include "smfbuilder/SmfBuilder.h"

// A note of 480 ticks at division 480 and the 35-byte x10 file it makes.
inline const std::vector<uint8_t> kExampleTrack{0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0x80,
                                                0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};
inline const std::vector<uint8_t> kExampleX10{0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00,
                                              0x10, 0x00, 0x01, 0x01, 0xE0, 0x4D, 0x54, 0x72, 0x6B,
                                              0x00, 0x00, 0x00, 0x0D, 0x00, 0x03, 0x90, 0x3C, 0x64,
                                              0x87, 0xD0, 0x47, 0x03, 0x80, 0x3C, 0x40, 0x00};

// Converts a song held in memory through real files, as the program does.
struct tConverted {
    bool bConverted = false;
    std::vector<uint8_t> X10;
    bool bEventsRemoved = false;
    uint32_t InstantsWithEventsRemoved = 0;
    tConversionFailure eFailure = CONV_NONE;
    bool bX10Exists = false;
};

inline tConverted ConvertBytes(const std::vector<uint8_t>& FileBytes, bool bDebug = false) {
    TempDir Folder;
    const std::filesystem::path Song = Folder / "song.mid";
    WriteAll(Song, FileBytes);
    VantorMidiFile Converter(Song);
    if (bDebug) {
        Converter.SetDebugFlag();
    }
    tConverted Result;
    Result.bConverted = Converter.ConvertToVantorFormat() != nullptr;
    Result.eFailure = Converter.GetFailure();
    Result.bEventsRemoved = Converter.bEventsRemoved;
    Result.InstantsWithEventsRemoved = Converter.GetInstantsWithEventsRemoved();
    const std::filesystem::path X10 = VantorMidiFile::MakeX10FilePath(Song);
    Result.bX10Exists = std::filesystem::exists(X10);
    Result.X10 = ReadAll(X10);
    return Result;
}

// A song file of one track under Header.
inline std::vector<uint8_t> OneTrackSong(
    const std::vector<uint8_t>& Track,
    const std::vector<uint8_t>& Header = cSmfBuilder::Header(0, 1, 480)) {
    return Concat(Header, cSmfBuilder::Chunk("MTrk", Track));
}

inline tConverted ConvertTrack(const std::vector<uint8_t>& Track, uint16_t uiDivision = 480) {
    return ConvertBytes(OneTrackSong(Track, cSmfBuilder::Header(0, 1, uiDivision)));
}

// The sections of an x10 file: everything after the 22 header bytes, before the closing 0x00.
inline std::vector<uint8_t> Sections(const std::vector<uint8_t>& X10) {
    if (X10.size() < 23) {
        return {};
    }
    return {X10.begin() + 22, X10.end() - 1};
}
