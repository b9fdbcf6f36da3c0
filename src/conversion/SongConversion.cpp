#include "conversion/SongConversion.h"

#include "conversion/SongFile.h"
#include "conversion/VantorMidiFile.h"

namespace {

tSongKind KindOfFormat(uint32_t dwFormat) {
    switch (dwFormat) {
        case 0:
            return SONG_KIND_FORMAT_0;
        case kMergeableFormat:
            return SONG_KIND_FORMAT_1;
        case kIndependentSequencesFormat:
            return SONG_KIND_FORMAT_2;
        default:
            return SONG_KIND_OTHER_FORMAT;
    }
}

// The outcome of a conversion that ran (bConverted) or failed, as Song recorded it.
tSongConversion Outcome(const VantorMidiFile& Song, bool bConverted) {
    tSongConversion Result;
    Result.bDebugDumpFailed = Song.GetDebugDumpFailed();
    Result.DebugDumpFailureText = Song.GetDebugDumpFailureText();
    if (!bConverted) {
        Result.bFileSystemFailure = Song.IsFileSystemFailure();
        Result.eFailure = Song.GetFailure();
        Result.FailureText = Song.GetFailureText();
        Result.SystemReason = Song.GetSystemReason();
        return Result;
    }
    Result.bConverted = true;
    Result.X10Bytes = static_cast<uint32_t>(Song.GetX10Bytes().size());
    Result.bEventsRemoved = Song.bEventsRemoved;
    Result.InstantsWithEventsRemoved = Song.GetInstantsWithEventsRemoved();
    Result.dwMergedTracks = Song.GetMergedTracks();
    return Result;
}

}  // namespace

tSongCheck CheckSong(const std::filesystem::path& MidiFilePath) {
    tSongCheck Check;
    VantorMidiFile Song;
    if (Song.ValidateMIDIFile(MidiFilePath)) {
        Check.dwFormat = Song.ReturnMIDIFileType();
        Check.eKind = KindOfFormat(Check.dwFormat);
    } else if (Song.GetValidationFailure() == CONV_NOT_REGULAR_FILE) {
        Check.eKind = SONG_KIND_NOT_REGULAR_FILE;
        Check.FileKind = Song.GetValidationReason();
    } else {
        Check.Reason = Song.GetValidationReason();
    }
    return Check;
}

bool IsSongAccepted(const tSongCheck& Check, bool bMergeTracks) {
    return Check.eKind == SONG_KIND_FORMAT_0 || (bMergeTracks && Check.eKind == SONG_KIND_FORMAT_1);
}

tSongConversion ConvertSong(const std::filesystem::path& MidiFilePath,
                            const tConversionOptions& Options) {
    VantorMidiFile Song;
    Song.ValidateMIDIFile(MidiFilePath);
    if (Options.bDebugDump) {
        Song.SetDebugFlag();
    }
    if (Options.bMergeTracks) {
        Song.SetMergeTracks();
    }
    if (!Options.X10FilePath.empty()) {
        Song.SetX10FilePath(Options.X10FilePath);
    }
    const std::filesystem::path* pX10FilePath = Song.ConvertToVantorFormat();
    tSongConversion Result = Outcome(Song, pX10FilePath != nullptr);
    if (pX10FilePath != nullptr) {
        Result.X10FilePath = *pX10FilePath;
    }
    return Result;
}

tSongConversion ConvertSongInMemory(const std::filesystem::path& MidiFilePath, bool bMergeTracks) {
    VantorMidiFile Song;
    Song.ValidateMIDIFile(MidiFilePath);
    if (bMergeTracks) {
        Song.SetMergeTracks();
    }
    const bool bConverted = Song.ConvertInMemory();
    return Outcome(Song, bConverted);
}

// Callers that have not moved to the options keep what they relied on: a song that is not (or
// no longer) a MIDI file, or cannot be read, is a fault of the song, not of the file system.
tSongConversion ConvertSong(const std::filesystem::path& MidiFilePath, bool bDebug) {
    if (!VantorMidiFile(MidiFilePath).GetIsFileValid()) {
        tSongConversion Result;
        Result.FailureText = "not a MIDI file, or it cannot be read";
        return Result;
    }
    tConversionOptions Options;
    Options.bDebugDump = bDebug;
    return ConvertSong(MidiFilePath, Options);
}

tMergedSong MergeSongFile(const std::filesystem::path& MidiFilePath) {
    tSongFileRead Read = ReadSongFile(MidiFilePath);
    if (Read.eFailure == CONV_NONE) {
        return MergeTracks(Read.Bytes);
    }
    tMergedSong Result;
    Result.eFailure = Read.eFailure;
    Result.FailureText = ReadFailureText(Read);
    return Result;
}
