#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Which files count as MIDI files where a name must tell (the file dialog's filter, the songs
// of a dropped folder): these extensions, in any letter case. A file given by name is vetted by
// its content whatever it is called.
inline constexpr const char* kSongExtensions[] = {".mid", ".midi", ".kar", ".rmi"};
// "*.mid *.midi *.kar *.rmi", for the file dialog's filter.
std::string SongFilePatterns();
// Whether the file's name ends in one of kSongExtensions.
bool HasSongExtension(const std::filesystem::path& File);

// Whether file name First comes before Second in a folder's songs: letters without regard to
// case, and runs of digits by their value ("Song 2" before "Song 10"), as file managers show
// them; names that differ only so are ordered by their bytes.
bool SongNameBefore(const std::string& First, const std::string& Second);

// What a drop (or a choice of files) gives to vet, in order: a file as it is; a folder as the
// MIDI files directly inside it (not in its subfolders), in name order. Problem names a folder
// that could not be read, or a drop whose folders hold no MIDI file; nothing is added then (a
// message for the caption SongMessages::kNotMidiFileCaption).
struct tDroppedSongs {
    std::vector<std::filesystem::path> Batch;
    std::string Problem;
};
tDroppedSongs SongsFromDrop(const std::vector<std::filesystem::path>& Dropped);
