#pragma once

// The texts shown about a song, each after the song's full path, with their captions.
namespace SongMessages {

inline constexpr const char* kNotMidiFile = " Is Not A Valid Midi File Or File Not Found";
inline constexpr const char* kNotMidiFileCaption = "File Error";
inline constexpr const char* kNotFormat0 =
    " Is Not A Midi Type 0 File, Only Type 0 MIDI files are supported";
inline constexpr const char* kNotFormat0Caption = "MIDI File Type Error";
// In the window, after kNotFormat0 for a format-1 song refused while merging is off.
inline constexpr const char* kMergeOptionHint =
    " (Options > Merge Multi-Track Songs takes it, its tracks merged into one)";
// With merging on: a format-2 song, and a song of a format that no MIDI file has.
inline constexpr const char* kIndependentSequences =
    " is a format 2 MIDI file: its tracks are independent sequences, which cannot be merged into "
    "one song";
inline constexpr const char* kUnknownFormat = ", which is neither 0 nor 1 and cannot be converted";
inline constexpr const char* kEventsRemoved =
    " Has an excessive number events at a single Delta time, some events have been removed and "
    "the song will sound different in your Orvik";
inline constexpr const char* kEventsRemovedCaption = "MIDI File Error";
inline constexpr const char* kFileSystemError = "File System Error, please restart";
inline constexpr const char* kFileSystemErrorCaption = "File System Error";

}  // namespace SongMessages
