#pragma once

#include <filesystem>
#include <string>

// Vetting a song as it is added to the list: a MIDI file, and of format 0.
enum tSongVerdict {
    SONG_FORMAT_0,
    SONG_NOT_MIDI_FILE,
    SONG_NOT_FORMAT_0,
};

tSongVerdict VetSong(const std::filesystem::path& MidiFilePath);
// The full message for a refused song: its path, then the system's text.
std::string VerdictMessage(const std::filesystem::path& MidiFilePath, tSongVerdict eVerdict);
// The caption of that message's box.
const char* VerdictCaption(tSongVerdict eVerdict);

// The outcome of converting one song. A failed conversion leaves no x10 file behind.
struct tSongConversion {
    bool bConverted = false;
    std::filesystem::path X10FilePath;
    bool bEventsRemoved = false;
    bool bFileSystemFailure = false;
    bool bDebugDumpFailed = false;
    std::string FailureText;
};

tSongConversion ConvertSong(const std::filesystem::path& MidiFilePath, bool bDebug);
