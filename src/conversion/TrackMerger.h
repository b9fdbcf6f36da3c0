#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "conversion/ConversionFailure.h"

// The formats of the header chunk that can be merged, and that never can.
inline constexpr uint32_t kMergeableFormat = 1;
inline constexpr uint32_t kIndependentSequencesFormat = 2;

// A song made format 0: a format-1 song with all its tracks merged into one, or a format-0
// song as it was.
struct tMergedSong {
    bool Merged = false;  // false: refused, for the reason below
    std::vector<uint8_t> Song;
    uint32_t TrackCount = 0;  // the tracks merged; 0 for a format-0 song passed unchanged
    tConversionFailure eFailure = CONV_NONE;
    std::string FailureText;
};

// Merges the tracks of a format-1 song into the one track of a format-0 song: the events in
// order of time (at equal times the lower track first, each track in its own order), every
// event whole with its status byte and minimal quantities, and one End of Track at the latest
// time any track ended. Each track is walked by the same bounded reader as a format-0 track and
// refused for the same faults. Format 0 passes unchanged; other formats are refused.
tMergedSong MergeTracks(std::span<const uint8_t> Song);
