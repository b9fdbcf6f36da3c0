#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSongs.h"
#include "app/SongBatch.h"
#include "app/SongMessages.h"
#include "app/SongPreparation.h"

namespace {

enum tKind { GOOD, FORMAT1, FORMAT2, NOT_MIDI, BIG, EXACT, BIG_NOT_MIDI };

std::filesystem::path Make(const TempDir& Folder, tKind eKind, const std::string& Name) {
    switch (eKind) {
        case GOOD:
            return TestSongs::Format0(Folder, Name);
        case FORMAT1:
            return TestSongs::Format1(Folder, Name);
        case FORMAT2:
            return TestSongs::Write(Folder, Name,
                                    Concat(cSmfBuilder::Header(2, 1, 480),
                                           cSmfBuilder::Chunk("MTrk", {0x00, 0xFF, 0x2F, 0x00})));
        case NOT_MIDI:
            return TestSongs::NotMidi(Folder, Name);
        case BIG:
            return TestSongs::OfSize(Folder, Name, kLargeSongBytes + 1);
        case EXACT:
            return TestSongs::OfSize(Folder, Name, kLargeSongBytes);
        case BIG_NOT_MIDI:
            return TestSongs::Write(Folder, Name, std::vector<uint8_t>(kLargeSongBytes + 1, 'x'));
    }
    return {};
}

struct tBatchCase {
    const char* szWhat;
    bool bMergeTracks;
    std::vector<tKind> Kinds;
    std::vector<bool> Answers;  // to the size questions, in the order asked
    std::vector<size_t> Asked;  // the songs the size question was about, in order
    bool bRefused;
    size_t uiRefusedSong;
    bool bDeclinedAsLarge;
    tSongKind eKind;
};

}  // namespace

TEST(SongBatch, a_batch_is_checked_from_its_last_song_and_refused_whole_at_the_first_refusal) {
    const tBatchCase aCases[] = {
        {"three good songs",
         false,
         {GOOD, GOOD, GOOD},
         {},
         {},
         false,
         0,
         false,
         SONG_KIND_FORMAT_0},
        {"first of three not format 0, found last",
         false,
         {FORMAT1, GOOD, GOOD},
         {},
         {},
         true,
         0,
         false,
         SONG_KIND_FORMAT_1},
        {"one refusal per batch, the last song's",
         false,
         {NOT_MIDI, GOOD, FORMAT1},
         {},
         {},
         true,
         2,
         false,
         SONG_KIND_FORMAT_1},
        {"not a MIDI file",
         false,
         {GOOD, NOT_MIDI},
         {},
         {},
         true,
         1,
         false,
         SONG_KIND_NOT_MIDI_FILE},
        {"a multi-track song while merging is on",
         true,
         {FORMAT1, GOOD},
         {},
         {},
         false,
         0,
         false,
         SONG_KIND_FORMAT_0},
        {"independent sequences, merging or not",
         true,
         {FORMAT2},
         {},
         {},
         true,
         0,
         false,
         SONG_KIND_FORMAT_2},
        {"exactly the limit asks nothing",
         false,
         {EXACT},
         {},
         {},
         false,
         0,
         false,
         SONG_KIND_FORMAT_0},
        {"one byte more asks, Yes adds",
         false,
         {BIG},
         {true},
         {0},
         false,
         0,
         false,
         SONG_KIND_FORMAT_0},
        {"one byte more asks, No refuses",
         false,
         {GOOD, BIG},
         {false},
         {1},
         true,
         1,
         true,
         SONG_KIND_FORMAT_0},
        {"the question comes before the vetting",
         false,
         {BIG_NOT_MIDI},
         {true},
         {0},
         true,
         0,
         false,
         SONG_KIND_NOT_MIDI_FILE},
        {"a question for each large song answered Yes, then the refusal",
         false,
         {NOT_MIDI, BIG, BIG},
         {true, true},
         {2, 1},
         true,
         0,
         false,
         SONG_KIND_NOT_MIDI_FILE},
    };
    for (const tBatchCase& Case : aCases) {
        TempDir Folder;
        std::vector<std::filesystem::path> Batch;
        for (size_t i = 0; i < Case.Kinds.size(); ++i) {
            Batch.push_back(Make(Folder, Case.Kinds[i], "song" + std::to_string(i) + ".mid"));
        }
        std::vector<size_t> Asked;
        size_t uiAnswer = 0;
        const auto Accept = [&](const std::filesystem::path& Song) {
            Asked.push_back(
                static_cast<size_t>(std::find(Batch.begin(), Batch.end(), Song) - Batch.begin()));
            return uiAnswer < Case.Answers.size() && Case.Answers[uiAnswer++];
        };
        const std::optional<tBatchRefusal> Refusal = VetSongBatch(Batch, Case.bMergeTracks, Accept);
        EXPECT_EQ(Asked, Case.Asked) << Case.szWhat;
        ASSERT_EQ(Refusal.has_value(), Case.bRefused) << Case.szWhat;
        if (Refusal) {
            EXPECT_EQ(Refusal->uiSong, Case.uiRefusedSong) << Case.szWhat;
            EXPECT_EQ(Refusal->bDeclinedAsLarge, Case.bDeclinedAsLarge) << Case.szWhat;
            if (!Case.bDeclinedAsLarge) {
                EXPECT_EQ(Refusal->Vetting.Check.eKind, Case.eKind) << Case.szWhat;
            }
        }
    }
}

TEST(SongBatch, a_song_that_is_gone_or_a_folder_is_refused_as_no_midi_file_without_a_question) {
    TempDir Folder;
    std::filesystem::create_directory(Folder / "folder.mid");
    const std::vector<std::filesystem::path> Batch = {Folder / "gone.mid", Folder / "folder.mid"};
    bool bAsked = false;
    const std::optional<tBatchRefusal> Refusal =
        VetSongBatch(Batch, false, [&](const std::filesystem::path&) { return bAsked = true; });
    ASSERT_TRUE(Refusal.has_value());
    EXPECT_EQ(Refusal->uiSong, 1u);
    EXPECT_EQ(Refusal->Vetting.Check.eKind, SONG_KIND_NOT_MIDI_FILE);
    EXPECT_FALSE(bAsked);
}

TEST(SongBatch, a_file_name_that_gives_the_device_no_song_name_is_refused_only_where_it_is_sent) {
    TempDir Folder;
    struct tNameCase {
        const char* szName;
        tKind eKind;
        bool bMergeTracks;
        bool bNamed;  // the device gets a name from it
    };
    const tNameCase aCases[] = {
#ifndef _WIN32  // Windows takes a name of dots alone for the folder itself
        {"....", GOOD, false, false},
        {"...", FORMAT1, true, false},
#endif
        {"...song.mid", GOOD, false, true},  // leading dots are passed over
        {".mid", GOOD, false, true},
    };
    for (const tNameCase& Case : aCases) {
        SCOPED_TRACE(Case.szName);
        const std::filesystem::path Song = Make(Folder, Case.eKind, Case.szName);
        EXPECT_TRUE(VetSongForConversion(Song, Case.bMergeTracks).bAccepted);
        const std::optional<tBatchRefusal> Refusal = VetSongBatch(
            {Song}, Case.bMergeTracks, [](const std::filesystem::path&) { return true; });
        const tPreparedSong ForDevice =
            PrepareSong(Song, {false, Case.bMergeTracks, Folder.path()});
        EXPECT_EQ(ForDevice.eOutcome == SONG_CONVERTED, Case.bNamed);
        EXPECT_EQ(PrepareSong(Song, {false, Case.bMergeTracks, {}, false}).eOutcome,
                  SONG_CONVERTED);
        ASSERT_EQ(Refusal.has_value(), !Case.bNamed);
        if (Refusal) {
            const std::string Message = Song.string() +
                                        " gives the device no song name: its file name must have a "
                                        "character other than '.'";
            EXPECT_EQ(Refusal->Vetting.Message, Message);
            EXPECT_STREQ(Refusal->Vetting.szCaption, SongMessages::kNotMidiFileCaption);
            EXPECT_EQ(ForDevice.FailureText, Message);
            EXPECT_TRUE(ForDevice.X10Path.empty());
        }
    }
}
