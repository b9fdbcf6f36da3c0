#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// A RIFF MIDI file (".rmi"): a RIFF form of type "RMID" whose "data" chunk holds a Standard MIDI
// File. Songs are read through it as the song it wraps.

// Whether the bytes begin as a RIFF MIDI file does (at least the form's 12 bytes are needed).
bool IsRiffMidi(std::span<const uint8_t> File);

// Where the wrapped song lies in a RIFF MIDI file, or why the wrapper is damaged (Fault set).
struct tWrappedSong {
    size_t uiOffset = 0;
    size_t uiLength = 0;
    std::string Fault;
};

// Walks the form's chunks within the file's bytes, never past them, to the first "data" chunk.
tWrappedSong FindWrappedSong(std::span<const uint8_t> File);
