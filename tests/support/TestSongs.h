#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "smfbuilder/SmfBuilder.h"

// Songs written into a test's folder, as the user would pick them.
namespace TestSongs {

// A short format-0 song; iNotes notes make it longer (and its x10 file more packets).
inline cSmfBuilder Tune(int iNotes = 8, uint8_t ucFirstKey = 60) {
    cSmfBuilder Song(480);
    Song.Tempo(0, 500000).ProgramChange(0, 0, 0);
    for (int i = 0; i < iNotes; ++i) {
        const auto ucKey = static_cast<uint8_t>(ucFirstKey + i % 24);
        Song.NoteOn(0, 0, ucKey, 100).NoteOff(240, 0, ucKey);
    }
    return std::move(Song.EndOfTrack());
}

inline std::filesystem::path Write(const TempDir& Folder, const std::string& Name,
                                   const std::vector<uint8_t>& Bytes) {
    const std::filesystem::path Path = Folder / Name;
    WriteAll(Path, Bytes);
    return Path;
}

inline std::filesystem::path Format0(const TempDir& Folder, const std::string& Name,
                                     int iNotes = 8) {
    return Write(Folder, Name, Tune(iNotes).File());
}

inline std::filesystem::path Format1(const TempDir& Folder, const std::string& Name) {
    cSmfBuilder Song(480, 1);
    Song.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack();
    return Write(Folder, Name, Song.File());
}

inline std::filesystem::path NotMidi(const TempDir& Folder, const std::string& Name) {
    const std::string Text = "This is a shopping list, not a song.\n";
    return Write(Folder, Name, std::vector<uint8_t>(Text.begin(), Text.end()));
}

// A valid format-0 song padded with trailing bytes to exactly uiBytes bytes.
inline std::filesystem::path OfSize(const TempDir& Folder, const std::string& Name,
                                    size_t uiBytes) {
    std::vector<uint8_t> Bytes = Tune().File();
    Bytes.resize(uiBytes, 0);
    return Write(Folder, Name, Bytes);
}

// More than 255 event bytes at one instant: the conversion leaves some out and says so.
inline std::filesystem::path CrowdedInstant(const TempDir& Folder, const std::string& Name) {
    cSmfBuilder Song(480);
    for (uint8_t ucKey = 20; ucKey < 120; ++ucKey) {
        Song.NoteOn(0, 0, ucKey, 100);
    }
    Song.NoteOff(480, 0, 60).EndOfTrack();
    return Write(Folder, Name, Song.File());
}

// Starts as a format-0 file but its track ends in the middle of a note: vetting passes,
// conversion fails on the content.
inline std::filesystem::path CutOffNote(const TempDir& Folder, const std::string& Name) {
    const std::vector<uint8_t> Track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x90, 0x3C};
    return Write(Folder, Name,
                 Concat(cSmfBuilder::Header(0, 1, 480), cSmfBuilder::Chunk("MTrk", Track)));
}

inline std::filesystem::path X10PathOf(const std::filesystem::path& Song) {
    std::filesystem::path X10 = Song;
    X10 += "x10";
    return X10;
}

}  // namespace TestSongs
