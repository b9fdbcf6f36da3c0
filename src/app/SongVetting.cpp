#include "app/SongVetting.h"

#include "app/SongMessages.h"
#include "app/Utf8Path.h"
#include "transfer/SongName.h"

namespace {

constexpr const char* kNoDeviceName =
    " gives the device no song name: its file name must have a character other than '.'";

}  // namespace

std::string SongCheckMessage(const std::filesystem::path& SongPath, const tSongCheck& Check,
                             bool bMergeTracks) {
    if (IsSongAccepted(Check, bMergeTracks)) {
        return {};
    }
    const std::string Path = PathToUtf8(SongPath);
    switch (Check.eKind) {
        case SONG_KIND_NOT_MIDI_FILE:
            return Path + SongMessages::kNotMidiFile +
                   (Check.Reason.empty() ? "" : " (" + Check.Reason + ")");
        case SONG_KIND_NOT_REGULAR_FILE:
            return Path + " is " + Check.FileKind + ", not a MIDI file; it was not read";
        case SONG_KIND_FORMAT_2:
            if (bMergeTracks) {
                return Path + SongMessages::kIndependentSequences;
            }
            break;
        case SONG_KIND_OTHER_FORMAT:
            if (bMergeTracks) {
                return Path + " is a MIDI file of format " + std::to_string(Check.dwFormat) +
                       SongMessages::kUnknownFormat;
            }
            break;
        case SONG_KIND_FORMAT_0:
        case SONG_KIND_FORMAT_1:
            break;
    }
    return Path + SongMessages::kNotFormat0;
}

const char* SongCheckCaption(const tSongCheck& Check) {
    switch (Check.eKind) {
        case SONG_KIND_NOT_MIDI_FILE:
        case SONG_KIND_NOT_REGULAR_FILE:
            return SongMessages::kNotMidiFileCaption;
        default:
            return SongMessages::kNotFormat0Caption;
    }
}

std::string RefusalWithMergeHint(const tSongVetting& Vetting, bool bMergeTracks) {
    const bool bMergeWouldTakeIt =
        !Vetting.bAccepted && Vetting.Check.eKind == SONG_KIND_FORMAT_1 && !bMergeTracks;
    return Vetting.Message + (bMergeWouldTakeIt ? SongMessages::kMergeOptionHint : "");
}

tSongVetting VetSongForConversion(const std::filesystem::path& SongPath, bool bMergeTracks) {
    tSongVetting Vetting;
    Vetting.Check = CheckSong(SongPath);
    Vetting.bAccepted = IsSongAccepted(Vetting.Check, bMergeTracks);
    if (!Vetting.bAccepted) {
        Vetting.Message = SongCheckMessage(SongPath, Vetting.Check, bMergeTracks);
        Vetting.szCaption = SongCheckCaption(Vetting.Check);
    }
    return Vetting;
}

tSongVetting VetSongForDevice(const std::filesystem::path& SongPath, bool bMergeTracks) {
    tSongVetting Vetting = VetSongForConversion(SongPath, bMergeTracks);
    if (Vetting.bAccepted && SongNameFromPath(PathToUtf8(SongPath)).empty()) {
        Vetting.bAccepted = false;
        Vetting.Message = PathToUtf8(SongPath) + kNoDeviceName;
        Vetting.szCaption = SongMessages::kNotMidiFileCaption;
    }
    return Vetting;
}
