#include "conversion/TrackChunks.h"

#include <algorithm>
#include <cstring>

#include "conversion/BigEndian.h"
#include "conversion/SongFile.h"

namespace {

constexpr const char* kHeaderCutOff = "the file ends inside its header chunk";

tTrackChunks Refuse(tConversionFailure eWhy, std::string Text) {
    tTrackChunks Result;
    Result.eFailure = eWhy;
    Result.FailureText = std::move(Text);
    return Result;
}

}  // namespace

tSongHeader ReadSongHeader(std::span<const uint8_t> Song) {
    tSongHeader Result;
    if (Song.size() > kMaxSongBytes) {
        Result.Failure = CONV_SONG_TOO_LARGE;
        Result.FailureText = SongTooLargeText(Song.size());
    } else if (Song.size() < tMidiHeader::SizeOfStruct()) {
        Result.Failure = CONV_HEADER_CUT_OFF;
        Result.FailureText = kHeaderCutOff;
    } else {
        std::copy_n(Song.data(), tMidiHeader::SizeOfStruct(), Result.Header.PtrToHeaderStruct());
        if (!Result.Header.IsMThd()) {
            Result.Failure = CONV_NOT_MIDI_FILE;
            Result.FailureText = "the file does not start with a MIDI file header (MThd)";
        }
    }
    return Result;
}

tTrackChunks FindTrackChunks(std::span<const uint8_t> Song, uint32_t dwWanted) {
    constexpr uint64_t qwHeaderBytes = tMidiHeader::SizeOfStruct();
    if (Song.size() < qwHeaderBytes) {
        return Refuse(CONV_HEADER_CUT_OFF, kHeaderCutOff);
    }
    const uint32_t dwHeaderLength = ReadBigEndian32(Song.data() + 4);
    if (dwHeaderLength < kStandardHeaderLength) {
        return Refuse(CONV_HEADER_TOO_SHORT, "the header chunk says " +
                                                 std::to_string(dwHeaderLength) +
                                                 " bytes, fewer than the 6 it must hold");
    }
    uint64_t qwAt = qwHeaderBytes + (dwHeaderLength - kStandardHeaderLength);
    if (qwAt > Song.size()) {
        return Refuse(CONV_HEADER_CUT_OFF, kHeaderCutOff);
    }
    tTrackChunks Result;
    while (Result.Tracks.size() < dwWanted && Song.size() - qwAt >= kChunkHeaderBytes) {
        const uint8_t* pucChunk = Song.data() + qwAt;
        const uint32_t dwLength = ReadBigEndian32(pucChunk + 4);
        const uint64_t qwLeft = Song.size() - qwAt - kChunkHeaderBytes;
        if (std::memcmp(pucChunk, "MTrk", 4) == 0) {
            if (dwLength > qwLeft) {
                Result.eFailure = CONV_TRACK_CUT_OFF;
                Result.FailureText = "the track chunk says " + std::to_string(dwLength) +
                                     " bytes but the file holds only " + std::to_string(qwLeft);
                return Result;
            }
            Result.Tracks.push_back({static_cast<uint32_t>(qwAt), dwLength});
        } else if (dwLength > qwLeft) {
            break;  // a chunk of another kind that runs past the end hides no track
        }
        qwAt += kChunkHeaderBytes + dwLength;
    }
    return Result;
}
