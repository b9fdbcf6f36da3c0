#include <gtest/gtest.h>

#include <optional>
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

// The refusal a batch is to end in: the song, and the kind its vetting found (left unchecked when
// the song was declined as large).
struct tRefusal {
    size_t uiSong;
    bool bDeclinedAsLarge;
    tSongKind eKind;
};

constexpr std::nullopt_t kAccepted = std::nullopt;

tRefusal Refused(size_t uiSong, tSongKind eKind) {
    return {uiSong, false, eKind};
}

tRefusal DeclinedAsLarge(size_t uiSong) {
    return {uiSong, true, SONG_KIND_FORMAT_0};
}

struct tBatchCase {
    const char* szWhat;
    std::vector<tKind> Kinds;
    std::optional<tRefusal> Refusal;
    std::vector<bool> Answers = {};  // to the size questions, in the order asked
    std::vector<size_t> Asked = {};  // the songs the size question was about, in order
    bool bMergeTracks = false;
};

}  // namespace

TEST(SongBatch, a_batch_is_checked_from_its_last_song_and_refused_whole_at_the_first_refusal) {
    const tBatchCase aCases[] = {
        {"three good songs", {GOOD, GOOD, GOOD}, kAccepted},
        {"first of three not format 0, found last",
         {FORMAT1, GOOD, GOOD},
         Refused(0, SONG_KIND_FORMAT_1)},
        {"one refusal per batch, the last song's",
         {NOT_MIDI, GOOD, FORMAT1},
         Refused(2, SONG_KIND_FORMAT_1)},
        {"not a MIDI file", {GOOD, NOT_MIDI}, Refused(1, SONG_KIND_NOT_MIDI_FILE)},
        {"a multi-track song while merging is on", {FORMAT1, GOOD}, kAccepted, {}, {}, true},
        {"independent sequences, merging or not",
         {FORMAT2},
         Refused(0, SONG_KIND_FORMAT_2),
         {},
         {},
         true},
        {"exactly the limit asks nothing", {EXACT}, kAccepted},
        {"one byte more asks, Yes adds", {BIG}, kAccepted, {true}, {0}},
        {"one byte more asks, No refuses", {GOOD, BIG}, DeclinedAsLarge(1), {false}, {1}},
        {"the question comes before the vetting",
         {BIG_NOT_MIDI},
         Refused(0, SONG_KIND_NOT_MIDI_FILE),
         {true},
         {0}},
        {"a question for each large song answered Yes, then the refusal",
         {NOT_MIDI, BIG, BIG},
         Refused(0, SONG_KIND_NOT_MIDI_FILE),
         {true, true},
         {2, 1}},
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
        ASSERT_EQ(Refusal.has_value(), Case.Refusal.has_value()) << Case.szWhat;
        if (Refusal) {
            EXPECT_EQ(Refusal->uiSong, Case.Refusal->uiSong) << Case.szWhat;
            EXPECT_EQ(Refusal->bDeclinedAsLarge, Case.Refusal->bDeclinedAsLarge) << Case.szWhat;
            if (!Case.Refusal->bDeclinedAsLarge) {
                EXPECT_EQ(Refusal->Vetting.Check.eKind, Case.Refusal->eKind) << Case.szWhat;
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
