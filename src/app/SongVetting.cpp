#include "app/SongVetting.h"

#include "app/Utf8Path.h"
#include "conversion/SongMessages.h"
#include "transfer/SongName.h"

namespace {

constexpr const char* kNoDeviceName =
    " gives the device no song name: its file name must have a character other than '.'";

}  // namespace

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
