// Writes the bundled example songs, small format-0 Standard MIDI Files, into a folder.
#include <filesystem>
#include <iostream>

#include "smfbuilder/SmfBuilder.h"

namespace {

constexpr uint32_t kQuarter = 480;

cSmfBuilder Scale() {
    cSmfBuilder Song(kQuarter);
    Song.Text(0, 0x03, "C major scale").Tempo(0, 500000).ProgramChange(0, 0, 0);
    const uint8_t aucKeys[] = {60, 62, 64, 65, 67, 69, 71, 72};
    for (const uint8_t ucKey : aucKeys) {
        Song.NoteOn(0, 0, ucKey, 100).NoteOff(kQuarter, 0, ucKey);
    }
    return std::move(Song.EndOfTrack());
}

cSmfBuilder Chords() {
    cSmfBuilder Song(kQuarter);
    Song.Text(0, 0x03, "Chords").Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    Song.Tempo(0, 600000).ProgramChange(0, 1, 48);
    const uint8_t aucRoots[] = {48, 53, 55, 48};
    for (const uint8_t ucRoot : aucRoots) {
        // Running status: the second and third notes carry no status byte.
        Song.NoteOn(0, 1, ucRoot, 90).Event(0, {static_cast<uint8_t>(ucRoot + 4), 90});
        Song.Event(0, {static_cast<uint8_t>(ucRoot + 7), 90});
        Song.Text(0, 0x06, "chord").Event(2 * kQuarter, {ucRoot, 0});
        Song.Event(0, {static_cast<uint8_t>(ucRoot + 4), 0});
        Song.Event(0, {static_cast<uint8_t>(ucRoot + 7), 0});
    }
    Song.Tempo(kQuarter, 400000).NoteOn(0, 1, 60, 110).NoteOff(4 * kQuarter, 1, 60);
    return std::move(Song.EndOfTrack());
}

cSmfBuilder Lyrics() {
    cSmfBuilder Song(96);
    Song.Text(0, 0x03, "Lyrics").ProgramChange(0, 0, 73);
    const char* aszWords[] = {"Twin", "kle, ", "twin", "kle, ", "lit", "tle ", "star"};
    const uint8_t aucKeys[] = {60, 60, 67, 67, 69, 69, 67};
    for (size_t i = 0; i < std::size(aucKeys); ++i) {
        Song.Text(i == 0 ? 0 : 48, 0x05, aszWords[i]);  // each word on its own instant
        Song.NoteOn(48, 0, aucKeys[i], 96)
            .NoteOff(i + 1 == std::size(aucKeys) ? 192 : 0, 0, aucKeys[i]);
    }
    return std::move(Song.EndOfTrack());
}

// A longer piece, so that a transfer shows its progress: arpeggios over a slowly changing tempo,
// with a controller sweep and pitch bends.
cSmfBuilder Etude() {
    cSmfBuilder Song(kQuarter);
    Song.Text(0, 0x03, "Etude").Tempo(0, 500000).ProgramChange(0, 0, 0).ProgramChange(0, 1, 32);
    const uint8_t aucChords[][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    for (int iBar = 0; iBar < 64; ++iBar) {
        const uint8_t* pucChord = aucChords[iBar % 4];
        Song.Tempo(0, 500000 - static_cast<uint32_t>(iBar % 16) * 10000);
        Song.NoteOn(0, 1, static_cast<uint8_t>(pucChord[0] - 24), 80);
        for (int iStep = 0; iStep < 8; ++iStep) {
            const auto ucKey = static_cast<uint8_t>(pucChord[iStep % 3] + 12 * (iStep / 3));
            Song.NoteOn(0, 0, ucKey, static_cast<uint8_t>(70 + iStep * 4));
            Song.Event(0, {0xB0, 0x01, static_cast<uint8_t>((iBar * 8 + iStep) % 128)});
            Song.NoteOff(kQuarter / 2, 0, ucKey);
        }
        Song.Event(0, {0xE1, 0x00, 0x40}).NoteOff(0, 1, static_cast<uint8_t>(pucChord[0] - 24));
    }
    return std::move(Song.EndOfTrack());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: make-example-songs FOLDER\n";
        return 2;
    }
    const std::filesystem::path Folder = argv[1];
    std::error_code Error;
    std::filesystem::create_directories(Folder, Error);
    const std::pair<const char*, cSmfBuilder> Songs[] = {{"scale.mid", Scale()},
                                                         {"chords.mid", Chords()},
                                                         {"lyrics.mid", Lyrics()},
                                                         {"etude.mid", Etude()}};
    for (const auto& [szName, Song] : Songs) {
        if (!Song.WriteTo(Folder / szName)) {
            std::cerr << (Folder / szName).string() << ": cannot write the example song\n";
            return 1;
        }
        std::cout << (Folder / szName).string() << "\n";
    }
    return 0;
}
