#pragma once

#include "options/CommandLine.h"

// The option that lets convert, export and send take multi-track (format 1) songs.
inline tOptionDefinition MergeTracksOption() {
    return {"--merge-tracks", nullptr, false, nullptr,
            "take multi-track (format 1) songs too, their tracks merged into\none; each is "
            "reported with its track count"};
}
