#pragma once

#include <ostream>
#include <string>
#include <vector>

// Songs vetted and converted as the main window does before a transfer: each song that is not a
// format-0 MIDI file, or whose content is malformed, is reported and left out; the others get
// their x10 file. A file-system failure stops the preparation (and removes what it made).
struct tPreparedSongs {
    std::vector<std::string> SongPaths;
    std::vector<std::string> X10Paths;
    bool bAllPrepared = true;
    bool bFileSystemFailure = false;
};

tPreparedSongs PrepareSongs(const std::vector<std::string>& Files, bool bDebug, std::ostream& Err);
// Deletes every x10 file of the list; one that cannot be deleted is reported and the others are
// still tried. Returns false when any remained.
bool DeleteX10Files(const std::vector<std::string>& X10Paths, std::ostream& Err);
