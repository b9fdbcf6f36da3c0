#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "conversion/ConversionFailure.h"
#include "conversion/TrackMerger.h"

// ---- Vetting a song as it is added to the list

// What a file given as a song is, as far as its first bytes tell.
enum tSongKind : uint8_t {
    SONG_KIND_FORMAT_0,
    SONG_KIND_FORMAT_1,          // converted with its tracks merged, when that is asked for
    SONG_KIND_FORMAT_2,          // independent sequences: never converted
    SONG_KIND_OTHER_FORMAT,      // a format number that no MIDI file has
    SONG_KIND_NOT_MIDI_FILE,     // missing, unreadable, empty, or not starting with "MThd"
    SONG_KIND_NOT_REGULAR_FILE,  // a FIFO, device or socket, refused unread
};

struct tSongCheck {
    tSongKind eKind = SONG_KIND_NOT_MIDI_FILE;
    uint32_t dwFormat = 0;  // the header's format field, for a MIDI file
    std::string FileKind;   // "a FIFO", "a device" or "a socket" for SONG_KIND_NOT_REGULAR_FILE
    // For SONG_KIND_NOT_MIDI_FILE, why nothing could be read: the system's reason ("No such
    // file or directory", "Is a directory") or "the file is empty"; empty when the file was
    // read and is simply no MIDI file.
    std::string Reason;
};

tSongCheck CheckSong(const std::filesystem::path& MidiFilePath);
// Whether the song can be converted: format 0, or format 1 while merging is on.
bool IsSongAccepted(const tSongCheck& Check, bool bMergeTracks);

// ---- Converting a song into its x10 file

struct tConversionOptions {
    bool bDebugDump = false;    // write mididebug.txt in the working directory
    bool bMergeTracks = false;  // convert a format-1 song with its tracks merged
    // Where the x10 file goes; empty: beside the song, as its path with "x10" appended.
    std::filesystem::path X10FilePath;
};

// The outcome of converting one song. A failed conversion writes nothing under the x10 name.
struct tSongConversion {
    bool bConverted = false;
    std::filesystem::path X10FilePath;
    uint32_t X10Bytes = 0;  // the x10 file's size
    bool bEventsRemoved = false;
    uint32_t InstantsWithEventsRemoved = 0;  // the instants that lost event bytes
    uint32_t dwMergedTracks = 0;             // 0 when the song was not merged
    // A failure of the file system (the song cannot be opened or read, the x10 file cannot be
    // made), with the system's reason; otherwise a failure is a fault of the song.
    bool bFileSystemFailure = false;
    tConversionFailure eFailure = CONV_NONE;
    std::string FailureText;   // what went wrong, with the reason at its end
    std::string SystemReason;  // the system's own text, for a file-system failure
    bool bDebugDumpFailed = false;
    std::string DebugDumpFailureText;  // the system's reason
};

tSongConversion ConvertSong(const std::filesystem::path& MidiFilePath,
                            const tConversionOptions& Options);
tSongConversion ConvertSong(const std::filesystem::path& MidiFilePath, bool bDebug);
// Converts a song in memory and writes nothing (no dump, X10FilePath empty): what a song comes
// to, for showing it before it is sent.
tSongConversion ConvertSongInMemory(const std::filesystem::path& MidiFilePath, bool bMergeTracks);

// ---- Merging alone

// Reads a song, with the same refusals as a conversion, and merges its tracks (MergeTracks). A
// failure to open or read the file has eFailure CONV_OPEN_FAILED or CONV_READ_FAILED.
tMergedSong MergeSongFile(const std::filesystem::path& MidiFilePath);
