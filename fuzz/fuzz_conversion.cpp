// Any bytes as a song file: vetting, the merge and the whole conversion (with the debug dump on,
// merging off and on) must neither crash, nor leak, nor read out of bounds; a failure must leave
// no x10 file; a merged song must be a well-formed format-0 song; and a song converts from its
// file exactly as from its bytes (of a RIFF MIDI file, the bytes it wraps).
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "conversion/RiffMidi.h"
#include "conversion/SongConversion.h"
#include "conversion/TrackMerger.h"
#include "conversion/TrackReader.h"
#include "conversion/VantorMidiFile.h"

namespace {

constexpr size_t kMergedHeadersBytes = 22;

std::filesystem::path gSongPath;

void Check(bool bHolds) {
    if (!bHolds) {
        std::abort();
    }
}

// A merged track is read to its one End of Track, which closes the data, without a fault.
void CheckMergedSong(const tMergedSong& Merged) {
    Check(Merged.Song.size() >= kMergedHeadersBytes);
    cTrackReader Reader;
    Reader.SetData(Merged.Song.data() + kMergedHeadersBytes,
                   static_cast<uint32_t>(Merged.Song.size() - kMergedHeadersBytes));
    tTrackEvent Event;
    while (Reader.ReadEvent(Event)) {
    }
    Check(Reader.GetFault() == TRACK_OK && Reader.EndedAtEndOfTrack());
    Check(Event.EndOffset == Merged.Song.size() - kMergedHeadersBytes);
}

void ConvertBothWays(std::span<const uint8_t> Song, bool bMergeTracks) {
    const std::filesystem::path X10Path = VantorMidiFile::MakeX10FilePath(gSongPath);
    std::filesystem::remove(X10Path);  // the last input's song file
    tConversionOptions Options;
    Options.bDebugDump = true;
    Options.bMergeTracks = bMergeTracks;
    const tSongConversion FromFile = ConvertSong(gSongPath, Options);
    Check(FromFile.bConverted == std::filesystem::exists(X10Path));

    VantorMidiFile FromBytes;
    if (bMergeTracks) {
        FromBytes.SetMergeTracks();
    }
    const bool bConverted = FromBytes.ConvertSongBytes(Song);
    Check(bConverted == FromFile.bConverted);
    if (bConverted) {
        std::ifstream In(X10Path, std::ios::binary);
        const std::vector<uint8_t> Written{std::istreambuf_iterator<char>(In), {}};
        Check(Written == FromBytes.GetX10Bytes());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path Folder =
        std::filesystem::temp_directory_path() / ("songloader-fuzz-" + std::to_string(std::rand()));
    std::filesystem::create_directories(Folder);
    std::filesystem::current_path(Folder);  // the debug dump lands here
    gSongPath = Folder / "song.mid";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pucData, size_t uiSize) {
    {
        std::ofstream Out(gSongPath, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(pucData), static_cast<std::streamsize>(uiSize));
    }
    std::span<const uint8_t> Song(pucData, uiSize);
    CheckSong(gSongPath);
    if (IsRiffMidi(Song)) {
        const tWrappedSong Wrapped = FindWrappedSong(Song);
        Check(Wrapped.uiOffset + Wrapped.uiLength <= uiSize);
        Song = Wrapped.Fault.empty() ? Song.subspan(Wrapped.uiOffset, Wrapped.uiLength)
                                     : std::span<const uint8_t>();
    }
    const tMergedSong Merged = MergeTracks(Song);
    if (Merged.Merged && Merged.TrackCount > 0) {
        CheckMergedSong(Merged);
    }
    ConvertBothWays(Song, false);
    ConvertBothWays(Song, true);
    return 0;
}
