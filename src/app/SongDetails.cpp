#include "app/SongDetails.h"

#include <cstdio>

#include "app/SongBatch.h"
#include "app/TransferEstimate.h"
#include "app/Utf8Path.h"
#include "conversion/SongConversion.h"
#include "transfer/FileDumpMessages.h"
#include "transfer/SongName.h"

namespace {

// "1 track", "3 tracks".
std::string Counted(uint64_t Count, const char* szOne, const char* szMany) {
    return std::to_string(Count) + " " + (Count == 1 ? szOne : szMany);
}

void AddNote(std::string& Note, const std::string& Part) {
    if (!Part.empty()) {
        Note += (Note.empty() ? "" : "; ") + Part;
    }
}

}  // namespace

tSongDetails ReadSongDetails(const std::filesystem::path& Song, bool bMergeTracks) {
    tSongDetails Details;
    Details.DeviceName = SongNameFromPath(PathToUtf8(Song));
    Details.Large = IsLargeSong(Song);
    Details.MultiTrack = CheckSong(Song).eKind == SONG_KIND_FORMAT_1;
    const tSongConversion Result = ConvertSongInMemory(Song, bMergeTracks);
    Details.Converted = Result.bConverted;
    Details.ConversionFailure = Result.FailureText;
    Details.X10Bytes = Result.X10Bytes;
    Details.Packets = Result.bConverted ? FileDump::PacketTotal(Result.X10Bytes) : 0;
    Details.MergedTracks = Result.dwMergedTracks;
    Details.InstantsWithEventsRemoved = Result.InstantsWithEventsRemoved;
    return Details;
}

int64_t SongSendMs(const tSongDetails& Details, const tTransferSettings& Settings) {
    return Details.Converted ? EstimateSongMs(Details.X10Bytes, Settings) : 0;
}

std::string SongNote(const tSongDetails& Details, const std::string& DuplicateNote) {
    std::string Note;
    if (!Details.Converted) {
        AddNote(Note, "cannot be sent: " + Details.ConversionFailure);
    }
    if (Details.MergedTracks > 0) {
        AddNote(Note, "merged from " + Counted(Details.MergedTracks, "track", "tracks"));
    }
    if (Details.InstantsWithEventsRemoved > 0) {
        AddNote(Note, "events removed at " +
                          Counted(Details.InstantsWithEventsRemoved, "instant", "instants"));
    }
    if (Details.Large) {
        AddNote(Note, "larger than " + DescribeBytes(kLargeSongBytes));
    }
    AddNote(Note, DuplicateNote);
    return Note;
}

std::string DescribeBytes(uint64_t Bytes) {
    char acText[32];
    if (Bytes < 1000) {
        std::snprintf(acText, sizeof acText, "%llu bytes", static_cast<unsigned long long>(Bytes));
    } else if (Bytes < 9950) {
        std::snprintf(acText, sizeof acText, "%.1f KB", static_cast<double>(Bytes) / 1000.0);
    } else {
        std::snprintf(acText, sizeof acText, "%llu KB",
                      static_cast<unsigned long long>((Bytes + 500) / 1000));
    }
    return acText;
}
