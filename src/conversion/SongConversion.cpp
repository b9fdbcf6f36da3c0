#include "conversion/SongConversion.h"

#include "conversion/SongMessages.h"
#include "conversion/VantorMidiFile.h"

tSongVerdict VetSong(const std::filesystem::path& MidiFilePath) {
    VantorMidiFile Song;
    if (!Song.ValidateMIDIFile(MidiFilePath)) {
        return SONG_NOT_MIDI_FILE;
    }
    return Song.ReturnMIDIFileType() == 0 ? SONG_FORMAT_0 : SONG_NOT_FORMAT_0;
}

std::string VerdictMessage(const std::filesystem::path& MidiFilePath, tSongVerdict eVerdict) {
    switch (eVerdict) {
        case SONG_NOT_MIDI_FILE:
            return MidiFilePath.string() + SongMessages::kNotMidiFile;
        case SONG_NOT_FORMAT_0:
            return MidiFilePath.string() + SongMessages::kNotFormat0;
        case SONG_FORMAT_0:
            break;
    }
    return {};
}

const char* VerdictCaption(tSongVerdict eVerdict) {
    return eVerdict == SONG_NOT_FORMAT_0 ? SongMessages::kNotFormat0Caption
                                         : SongMessages::kNotMidiFileCaption;
}

tSongConversion ConvertSong(const std::filesystem::path& MidiFilePath, bool bDebug) {
    tSongConversion Result;
    VantorMidiFile Song(MidiFilePath);
    if (!Song.GetIsFileValid()) {
        Result.FailureText = "not a MIDI file, or it cannot be read";
        return Result;
    }
    if (bDebug) {
        Song.SetDebugFlag();
    }
    const std::filesystem::path* pX10FilePath = Song.ConvertToVantorFormat();
    Result.bDebugDumpFailed = Song.GetDebugDumpFailed();
    if (pX10FilePath == nullptr) {
        Result.bFileSystemFailure = Song.IsFileSystemFailure();
        Result.FailureText = Song.GetFailureText();
        Song.RemoveX10File();
        return Result;
    }
    Result.bConverted = true;
    Result.X10FilePath = *pX10FilePath;
    Result.bEventsRemoved = Song.bEventsRemoved;
    return Result;
}
