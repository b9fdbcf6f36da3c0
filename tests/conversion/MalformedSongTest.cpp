#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "ConvertHelpers.h"
#include "conversion/SongConversion.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct tMalformedSong {
    const char* szWhat;
    Bytes File;
    tConversionFailure eFailure;
};

}  // namespace

TEST(MalformedSong, each_fault_fails_the_conversion_with_its_reason) {
    const Bytes kHeader = cSmfBuilder::Header(0, 1, 480);
    Bytes TrackCutOff = OneTrackSong(kExampleTrack);
    TrackCutOff.resize(TrackCutOff.size() - 3);
    const uint8_t aucMetaEvent[] = {0x00, 0xFF, 0x03, 0x82, 0x00};
    Bytes LongMeta(std::begin(aucMetaEvent), std::end(aucMetaEvent));
    LongMeta.resize(LongMeta.size() + 256, 0x41);
    LongMeta.insert(LongMeta.end(), kExampleTrack.begin(), kExampleTrack.end());

    const tMalformedSong aCases[] = {
        {"file ends inside the header", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0}, CONV_HEADER_CUT_OFF},
        {"header length 5", OneTrackSong(kExampleTrack, cSmfBuilder::Header(0, 1, 480, 5)),
         CONV_HEADER_TOO_SHORT},
        {"header length beyond the file",
         OneTrackSong(kExampleTrack, cSmfBuilder::Header(0, 1, 480, 1000)), CONV_HEADER_CUT_OFF},
        {"division 0", OneTrackSong(kExampleTrack, cSmfBuilder::Header(0, 1, 0)),
         CONV_BAD_DIVISION},
        {"time code with 0 ticks per frame",
         OneTrackSong(kExampleTrack, cSmfBuilder::Header(0, 1, 0xE700)), CONV_BAD_DIVISION},
        {"no chunk after the header", kHeader, CONV_NO_TRACK},
        {"only a foreign chunk", Concat(kHeader, cSmfBuilder::Chunk("XFIH", {1, 2, 3})),
         CONV_NO_TRACK},
        {"foreign chunk longer than the file",
         Concat(kHeader, {'X', 'F', 'I', 'H', 0x7F, 0, 0, 0, 1}), CONV_NO_TRACK},
        {"track shorter than its length", TrackCutOff, CONV_TRACK_CUT_OFF},
        {"track length of nearly 4 GB",
         Concat(kHeader, {'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xF0}), CONV_TRACK_CUT_OFF},
        {"empty track", OneTrackSong({}), CONV_EMPTY_TRACK},
        {"end of track first", OneTrackSong({0x00, 0xFF, 0x2F, 0x00, 0x00, 0x90, 0x3C, 0x64}),
         CONV_EMPTY_TRACK},
        {"meta event of 256 bytes", OneTrackSong(LongMeta), CONV_META_TOO_LONG},
        {"event cut off", OneTrackSong({0x00, 0x90, 0x3C}), CONV_EVENT_CUT_OFF},
        {"five-byte quantity", OneTrackSong({0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3C, 0x64}),
         CONV_QUANTITY_TOO_LONG},
        {"running status without status", OneTrackSong({0x00, 0x3C, 0x64}), CONV_NO_RUNNING_STATUS},
        {"timing clock in the track", OneTrackSong({0x00, 0x90, 0x3C, 0x64, 0x00, 0xF8}),
         CONV_BAD_EVENT_KIND},
        {"2^28 units between two sections",
         OneTrackSong({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x08, 0x00, 0x90, 0x3C, 0x64, 0xC0, 0x80,
                       0x80, 0x00, 0x80, 0x3C, 0x40},
                      cSmfBuilder::Header(0, 1, 1)),
         CONV_DELTA_TOO_LARGE},
        {"carried silent time reaching 2^28 units",
         OneTrackSong({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x04, 0x00, 0x90, 0x3C, 0x64, 0xC0, 0x80,
                       0x80, 0x00, 0xFF, 0x06, 0x00, 0xC0, 0x80, 0x80, 0x00, 0x80, 0x3C, 0x40},
                      cSmfBuilder::Header(0, 1, 1)),
         CONV_DELTA_TOO_LARGE},
        {"a Set Tempo of 0",
         OneTrackSong({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00, 0x00, 0x90, 0x3C, 0x64}),
         CONV_ZERO_TEMPO},
        {"a Set Tempo without data bytes",
         OneTrackSong({0x00, 0x90, 0x3C, 0x64, 0x60, 0xFF, 0x51, 0x00}), CONV_ZERO_TEMPO},
        {"a Set Tempo of 0 under a time code division",
         OneTrackSong({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00, 0x00, 0x90, 0x3C, 0x64},
                      cSmfBuilder::Header(0, 1, 0xE728)),
         CONV_ZERO_TEMPO},
        {"a format-1 song when merging is off",
         OneTrackSong(kExampleTrack, cSmfBuilder::Header(1, 1, 480)), CONV_NOT_FORMAT_0},
        {"a delta too large for 32 bits",
         OneTrackSong({0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF, 0x00, 0x90, 0x3C, 0x64, 0xFF, 0xFF,
                       0xFF, 0x7F, 0x80, 0x3C, 0x40}),
         CONV_DELTA_TOO_LARGE},
    };
    for (const tMalformedSong& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        const tConverted Result = ConvertBytes(Case.File);
        EXPECT_FALSE(Result.bConverted);
        EXPECT_EQ(Result.eFailure, Case.eFailure);
        EXPECT_FALSE(IsFileSystemFailure(Result.eFailure));
    }
}

TEST(MalformedSong, a_track_that_starts_with_end_of_track_writes_no_x10_file) {
    const tConverted Result = ConvertTrack({0x00, 0xFF, 0x2F, 0x00});
    EXPECT_FALSE(Result.bConverted);
    EXPECT_EQ(Result.eFailure, CONV_EMPTY_TRACK);
    EXPECT_FALSE(Result.bX10Exists);
}

TEST(MalformedSong, a_longer_header_and_foreign_chunks_are_read_past) {
    const Bytes LongHeader = Concat(cSmfBuilder::Header(0, 1, 480, 8), {0xAA, 0xBB});
    const Bytes Foreign = cSmfBuilder::Chunk("XFIH", {1, 2, 3, 4, 5});
    const tConverted Result =
        ConvertBytes(OneTrackSong(kExampleTrack, Concat(LongHeader, Foreign)));
    ASSERT_TRUE(Result.bConverted);
    EXPECT_EQ(Result.X10, kExampleX10);
}

// Every file of the corpus is named for what is wrong with it; with merging off or on, none may
// convert, crash, or leave an x10 file behind, and none is a file-system failure.
TEST(MalformedSong, no_song_of_the_malformed_corpus_converts_or_leaves_a_file) {
    const std::filesystem::path Corpus = std::filesystem::path(SONGLOADER_CORPUS_DIR) / "malformed";
    int iFiles = 0;
    for (const auto& Entry : std::filesystem::directory_iterator(Corpus)) {
        ++iFiles;
        TempDir Folder;
        const std::filesystem::path Song = Folder / Entry.path().filename().string();
        std::filesystem::copy_file(Entry.path(), Song);
        for (const bool bMergeTracks : {false, true}) {
            SCOPED_TRACE(Entry.path().filename().string() + (bMergeTracks ? ", merging" : ""));
            if (!IsSongAccepted(CheckSong(Song), bMergeTracks)) {
                continue;  // refused when added, as it should be
            }
            tConversionOptions Options;
            Options.bMergeTracks = bMergeTracks;
            const tSongConversion Result = ConvertSong(Song, Options);
            EXPECT_FALSE(Result.bConverted);
            EXPECT_FALSE(Result.bFileSystemFailure);
            EXPECT_FALSE(Result.FailureText.empty());
            EXPECT_FALSE(std::filesystem::exists(VantorMidiFile::MakeX10FilePath(Song)));
        }
    }
    EXPECT_GE(iFiles, 28);
}
