#pragma once

#include <cstdint>

// Why a conversion failed. The first group are failures of the file system (or of the machine),
// which a restart may cure; the rest describe malformed content in the song itself.
enum tConversionFailure : uint8_t {
    CONV_NONE,
    CONV_CREATE_FAILED,
    CONV_OPEN_FAILED,
    CONV_READ_FAILED,
    CONV_WRITE_FAILED,
    CONV_OUT_OF_MEMORY,
    CONV_HEADER_CUT_OFF,
    CONV_HEADER_TOO_SHORT,
    CONV_BAD_DIVISION,
    CONV_NO_TRACK,
    CONV_TRACK_CUT_OFF,
    CONV_EMPTY_TRACK,
    CONV_META_TOO_LONG,
    CONV_EVENT_CUT_OFF,
    CONV_QUANTITY_TOO_LONG,
    CONV_NO_RUNNING_STATUS,
    CONV_BAD_EVENT_KIND,
    CONV_DELTA_TOO_LARGE,
};

inline bool IsFileSystemFailure(tConversionFailure eFailure) {
    return eFailure >= CONV_CREATE_FAILED && eFailure <= CONV_OUT_OF_MEMORY;
}
