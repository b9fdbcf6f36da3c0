#pragma once

#include <cstdint>

// Why a conversion or a merge failed. The first group are failures of the file system (or of
// the machine), which a restart may cure; the rest are faults of the song itself.
enum tConversionFailure : uint8_t {
    CONV_NONE,
    CONV_CREATE_FAILED,
    CONV_OPEN_FAILED,
    CONV_READ_FAILED,
    CONV_NOT_REGULAR_FILE,
    CONV_SONG_TOO_LARGE,
    CONV_NOT_MIDI_FILE,
    CONV_NOT_FORMAT_0,
    CONV_FORMAT_2,
    CONV_UNKNOWN_FORMAT,
    CONV_HEADER_CUT_OFF,
    CONV_HEADER_TOO_SHORT,
    CONV_BAD_DIVISION,
    CONV_NO_TRACK,
    CONV_MISSING_TRACKS,
    CONV_TRACK_CUT_OFF,
    CONV_EMPTY_TRACK,
    CONV_META_TOO_LONG,
    CONV_EVENT_CUT_OFF,
    CONV_QUANTITY_TOO_LONG,
    CONV_NO_RUNNING_STATUS,
    CONV_BAD_EVENT_KIND,
    CONV_ZERO_TEMPO,
    CONV_DELTA_TOO_LARGE,
    CONV_MERGED_DELTA_TOO_LARGE,
    CONV_X10_TOO_LARGE,
    CONV_BAD_RIFF_WRAPPER,  // a RIFF MIDI file whose chunks run past its end, or hold no song
};

inline bool IsFileSystemFailure(tConversionFailure eFailure) {
    return eFailure >= CONV_CREATE_FAILED && eFailure <= CONV_READ_FAILED;
}
