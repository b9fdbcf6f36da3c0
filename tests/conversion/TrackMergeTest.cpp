#include <gtest/gtest.h>

#include <vector>

#include "ConvertHelpers.h"
#include "conversion/SongConversion.h"
#include "conversion/TrackMerger.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Join(std::initializer_list<Bytes> Parts) {
    Bytes All;
    for (const Bytes& Part : Parts) {
        All.insert(All.end(), Part.begin(), Part.end());
    }
    return All;
}

// A format-1 song whose header names as many tracks as it is given.
Bytes Format1(std::initializer_list<Bytes> Tracks, uint16_t uiFormat = 1) {
    Bytes Song = cSmfBuilder::Header(uiFormat, static_cast<uint16_t>(Tracks.size()), 96);
    for (const Bytes& Track : Tracks) {
        Song = Concat(Song, cSmfBuilder::Chunk("MTrk", Track));
    }
    return Song;
}

Bytes Format0(const Bytes& Track) {
    return Concat(cSmfBuilder::Header(0, 1, 96), cSmfBuilder::Chunk("MTrk", Track));
}

const Bytes kEndOfTrack{0x00, 0xFF, 0x2F, 0x00};

Bytes LongMeta() {
    Bytes Event{0x00, 0xFF, 0x7F, 0x82, 0x2C};
    Event.insert(Event.end(), 300, 0x41);
    return Event;
}

struct tMergeCase {
    const char* szWhat;
    Bytes Song;
    Bytes Merged;
    uint32_t dwTracks;
};

struct tRefusalCase {
    const char* szWhat;
    Bytes Song;
    const char* szFailure;
};

}  // namespace

TEST(TrackMerge, format_1_songs_merge_into_one_track_byte_for_byte) {
    Bytes LongerHeader = cSmfBuilder::Header(1, 2, 96, 8);
    LongerHeader = Join({LongerHeader,
                         {0xAA, 0xBB},
                         cSmfBuilder::Chunk("XFIH", {1, 2, 3}),
                         cSmfBuilder::Chunk("MTrk", {0x00, 0x90, 0x3C, 0x64}),
                         cSmfBuilder::Chunk("XFKM", {}),
                         cSmfBuilder::Chunk("MTrk", {0x10, 0x80, 0x3C, 0x40}),
                         cSmfBuilder::Chunk("MTrk", {0x00, 0xC0, 0x05})});
    const Bytes kOddFormat0 = Join({cSmfBuilder::Header(0, 3, 96, 7), {0xEE}, {'M', 'T', 'r'}});

    const tMergeCase aCases[] = {
        {"events go in order of time, at equal times the lower track first, each track in order",
         Format1({{0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40},
                  {0x00, 0x91, 0x40, 0x64, 0x00, 0xC1, 0x05, 0x60, 0x81, 0x40, 0x40},
                  {0x30, 0x92, 0x43, 0x64}}),
         Format0({0x00, 0x90, 0x3C, 0x64, 0x00, 0x91, 0x40, 0x64, 0x00,
                  0xC1, 0x05, 0x30, 0x92, 0x43, 0x64, 0x30, 0x80, 0x3C,
                  0x40, 0x00, 0x81, 0x40, 0x40, 0x00, 0xFF, 0x2F, 0x00}),
         3},
        {"running status, each track's own, is written out with every status byte",
         Format1({{0x00, 0x90, 0x3C, 0x64, 0x20, 0x3E, 0x64, 0x10, 0xFF, 0x01, 0x01, 0x41, 0x00,
                   0x40, 0x64},
                  {0x10, 0x80, 0x3C, 0x40, 0x20, 0x3E, 0x40}}),
         Format0({0x00, 0x90, 0x3C, 0x64, 0x10, 0x80, 0x3C, 0x40, 0x10, 0x90,
                  0x3E, 0x64, 0x10, 0xFF, 0x01, 0x01, 0x41, 0x00, 0x90, 0x40,
                  0x64, 0x00, 0x80, 0x3E, 0x40, 0x00, 0xFF, 0x2F, 0x00}),
         2},
        {"meta, SysEx and escape events stay whole, their lengths written as minimal quantities",
         Format1({Join({{0x00, 0xFF, 0x01, 0x80, 0x02, 0x41, 0x42},
                        {0x00, 0xF0, 0x80, 0x03, 0x7E, 0x01, 0xF7},
                        {0x00, 0xF7, 0x02, 0x43, 0xF7},
                        {0x00, 0xF0, 0x02, 0x01, 0x02},
                        LongMeta()})}),
         Format0(Join({{0x00, 0xFF, 0x01, 0x02, 0x41, 0x42},
                       {0x00, 0xF0, 0x03, 0x7E, 0x01, 0xF7},
                       {0x00, 0xF7, 0x02, 0x43, 0xF7},
                       {0x00, 0xF0, 0x02, 0x01, 0x02},
                       LongMeta(),
                       kEndOfTrack})),
         1},
        {"a longer header's extra bytes, chunks of other kinds and tracks past the count are "
         "passed over",
         LongerHeader,
         Format0({0x00, 0x90, 0x3C, 0x64, 0x10, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}), 2},
        {"one End of Track closes the merged track at the latest time any track ended",
         Format1({{0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0xFF, 0x2F, 0x00},
                  {0x60, 0x80, 0x3C, 0x40},
                  {},
                  Join({kEndOfTrack, {0x00, 0x90, 0x3C, 0x64}})}),
         Format0({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40, 0x83, 0x00, 0xFF, 0x2F, 0x00}),
         4},
        {"a format-0 song passes unchanged, whatever it holds", kOddFormat0, kOddFormat0, 0},
    };
    for (const tMergeCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        const tMergedSong Result = MergeTracks(Case.Song);
        EXPECT_TRUE(Result.Merged);
        EXPECT_EQ(Result.Song, Case.Merged);
        EXPECT_EQ(Result.TrackCount, Case.dwTracks);
        EXPECT_EQ(Result.FailureText, "");
    }
}

TEST(TrackMerge, a_song_that_cannot_be_merged_is_refused_saying_why) {
    Bytes CutOffChunk = Format1({{0x00, 0x90, 0x3C, 0x64}, {0x10, 0x80, 0x3C, 0x40}});
    CutOffChunk[14 + 8 + 4 + 4 + 3] = 20;  // the second track says 20 bytes
    const tRefusalCase aCases[] = {
        {"a format-2 song is refused", Format1({kEndOfTrack, kEndOfTrack}, 2),
         "a format-2 song holds independent sequences, which cannot be merged into one track"},
        {"another format is refused with its number", Format1({kEndOfTrack}, 7),
         "the song is of format 7; only formats 0 and 1 can be converted"},
        {"fewer track chunks than the header names are refused, naming both numbers",
         Join({cSmfBuilder::Header(1, 3, 96), cSmfBuilder::Chunk("MTrk", kEndOfTrack),
               cSmfBuilder::Chunk("MTrk", kEndOfTrack)}),
         "the header names 3 tracks but the file holds only 2"},
        {"a track chunk longer than the file is refused, naming the track", CutOffChunk,
         "track 2 of 2: the track chunk says 20 bytes but the file holds only 4"},
        {"a track cut off is refused, naming the track and the place",
         Format1({{0x00, 0x90, 0x3C, 0x64}, {0x00, 0x80, 0x3C, 0x40, 0x10, 0x90, 0x3C}}),
         "track 2 of 2: the track data ends inside the event at track byte 4"},
        {"running status does not carry from one track to the next",
         Format1({{0x00, 0x90, 0x3C, 0x64}, {0x00, 0x3C, 0x40}}),
         "track 2 of 2: the event at track byte 0 has data but no status byte before it"},
        {"a system message kind in a track is refused",
         Format1({{0x00, 0xF8}, {0x00, 0x90, 0x3C, 0x64}}),
         "track 1 of 2: the event at track byte 0 is of kind 0xF8, which a MIDI file track may "
         "not hold"},
        {"a header that names 0 tracks is refused as an empty song", Format1({}),
         "the header names 0 tracks, so the song holds no events"},
        {"tracks of nothing but End of Track are refused as an empty song",
         Format1({kEndOfTrack, {}}), "no track holds an event before its End of Track"},
        {"a file that is not a MIDI file is refused", Bytes(20, 'x'),
         "the file does not start with a MIDI file header (MThd)"},
    };
    for (const tRefusalCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        const tMergedSong Result = MergeTracks(Case.Song);
        EXPECT_FALSE(Result.Merged);
        EXPECT_EQ(Result.Song, Bytes{});
        EXPECT_EQ(Result.TrackCount, 0u);
        EXPECT_EQ(Result.FailureText, Case.szFailure);
    }
}

TEST(TrackMerge, a_merged_song_converts_exactly_as_the_same_song_written_as_format_0) {
    TempDir Folder;
    const Bytes Format1Song = Format1(
        {{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
         {0x00, 0xC0, 0x05, 0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00},
         {0x30, 0x91, 0x40, 0x64, 0x60, 0x40, 0x00}});
    const Bytes SameAsFormat0 =
        Format0({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09,
                 0x01, 0xF7, 0x00, 0xC0, 0x05, 0x00, 0x90, 0x3C, 0x64, 0x30, 0x91, 0x40, 0x64,
                 0x30, 0x90, 0x3C, 0x00, 0x30, 0x91, 0x40, 0x00, 0x00, 0xFF, 0x2F, 0x00});
    WriteAll(Folder / "parts.mid", Format1Song);
    WriteAll(Folder / "whole.mid", SameAsFormat0);
    tConversionOptions Options;
    Options.bMergeTracks = true;
    const tSongConversion Merged = ConvertSong(Folder / "parts.mid", Options);
    ASSERT_TRUE(Merged.bConverted) << Merged.FailureText;
    EXPECT_EQ(Merged.dwMergedTracks, 3u);
    const tSongConversion Whole = ConvertSong(Folder / "whole.mid", Options);
    ASSERT_TRUE(Whole.bConverted) << Whole.FailureText;
    EXPECT_EQ(Whole.dwMergedTracks, 0u);
    EXPECT_EQ(ReadAll(Merged.X10FilePath), ReadAll(Whole.X10FilePath));

    const tSongConversion Unmerged = ConvertSong(Folder / "parts.mid", tConversionOptions{});
    EXPECT_FALSE(Unmerged.bConverted);
    EXPECT_EQ(Unmerged.FailureText,
              "the song is of format 1; only format 0 is converted, or format 1 with its tracks "
              "merged");
}

TEST(TrackMerge, a_fault_of_the_merged_track_says_so) {
    TempDir Folder;
    Bytes Text{0x00, 0xFF, 0x01, 0x82, 0x00};  // 256 data bytes: merged whole, then refused
    Text.insert(Text.end(), 256, 0x41);
    WriteAll(Folder / "song.mid", Format1({{0x00, 0x90, 0x3C, 0x64}, Text}));
    tConversionOptions Options;
    Options.bMergeTracks = true;
    const tSongConversion Result = ConvertSong(Folder / "song.mid", Options);
    EXPECT_FALSE(Result.bConverted);
    EXPECT_EQ(Result.FailureText,
              "in the track merged from its 2 tracks, the meta event at track "
              "byte 4 has 256 or more data bytes");
}
