// merge-song SONG -o OUT: writes the song with its tracks merged, as a format-0 song. A small
// stand-in for the command line's merge command, for the check against another reader.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "conversion/FileByRename.h"
#include "conversion/SongConversion.h"

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[2], "-o") != 0) {
        std::cerr << "usage: merge-song SONG -o OUT\n";
        return 2;
    }
    const tMergedSong Merged = MergeSongFile(argv[1]);
    if (!Merged.bMerged) {
        std::cerr << argv[1] << ": cannot merge: " << Merged.FailureText << "\n";
        return 1;
    }
    std::error_code Error;
    if (!WriteFileByRename(argv[3], Merged.Song.data(), Merged.Song.size(), Error)) {
        std::cerr << argv[3] << ": cannot write: " << Error.message() << "\n";
        return 1;
    }
    return 0;
}
