#include <gtest/gtest.h>

#include "TestSongs.h"
#include "app/SongPreparation.h"
#include "app/TransferPlan.h"
#include "conversion/SongMessages.h"

namespace {

bool Exists(const std::filesystem::path& Path) {
    return std::filesystem::exists(Path);
}

}  // namespace

TEST(SongPreparation, each_song_gets_its_outcome_and_only_converted_songs_leave_an_x10_file) {
    TempDir Folder;
    const std::filesystem::path Good = TestSongs::Format0(Folder, "good.mid");
    const std::filesystem::path Crowded = TestSongs::CrowdedInstant(Folder, "crowded.mid");
    const std::filesystem::path Broken = TestSongs::CutOffNote(Folder, "broken.mid");
    const std::filesystem::path Multi = TestSongs::Format1(Folder, "multi.mid");
    const std::filesystem::path Text = TestSongs::NotMidi(Folder, "text.mid");
    const std::filesystem::path Gone = Folder / "gone.mid";
    const tPreparedSongs Prepared =
        PrepareSongs({Good, Crowded, Broken, Multi, Text, Gone}, tPreparationOptions{});

    ASSERT_EQ(Prepared.Songs.size(), 6u);
    const tSongOutcome aeExpected[] = {SONG_CONVERTED, SONG_CONVERTED, SONG_CONTENT_FAILURE,
                                       SONG_REFUSED,   SONG_REFUSED,   SONG_REFUSED};
    for (size_t i = 0; i < 6; ++i) {
        const tPreparedSong& Song = Prepared.Songs[i];
        EXPECT_EQ(Song.eOutcome, aeExpected[i]) << Song.SongPath;
        EXPECT_EQ(Exists(TestSongs::X10PathOf(Song.SongPath)), Song.eOutcome == SONG_CONVERTED)
            << Song.SongPath;
        EXPECT_EQ(Song.FailureText.empty(), Song.eOutcome == SONG_CONVERTED) << Song.SongPath;
    }
    EXPECT_FALSE(Prepared.Songs[0].bEventsRemoved);
    EXPECT_TRUE(Prepared.Songs[1].bEventsRemoved);
    EXPECT_NE(Prepared.Songs[2].FailureText.find("track byte"), std::string::npos);
    EXPECT_EQ(Prepared.Songs[3].Check.eKind, SONG_KIND_FORMAT_1);
    EXPECT_EQ(Prepared.Songs[3].FailureText, Multi.string() + SongMessages::kNotFormat0);
    EXPECT_EQ(Prepared.Songs[5].Check.eKind, SONG_KIND_NOT_MIDI_FILE);
    EXPECT_FALSE(Prepared.AllConverted());
    EXPECT_EQ(Prepared.X10Paths(), (std::vector<std::filesystem::path>{
                                       TestSongs::X10PathOf(Good), TestSongs::X10PathOf(Crowded)}));
}

TEST(SongPreparation, a_multi_track_song_is_merged_when_that_is_asked) {
    TempDir Folder;
    const std::filesystem::path Multi = TestSongs::Format1(Folder, "multi.mid");
    const tPreparedSong Song = PrepareSong(Multi, {false, true, {}});
    EXPECT_EQ(Song.eOutcome, SONG_CONVERTED);
    EXPECT_EQ(Song.dwMergedTracks, 1u);
}

TEST(SongPreparation, a_song_whose_folder_takes_no_x10_file_goes_to_the_work_folder_and_on) {
    TempDir Folder;
    TempDir Work;
    std::filesystem::create_directories(Folder / "a" / "song.midx10" / "inside");
    std::filesystem::create_directories(Folder / "b" / "song.midx10" / "inside");
    const std::filesystem::path First = TestSongs::Format0(Folder, "a/song.mid");
    const std::filesystem::path Second = TestSongs::Format0(Folder, "b/song.mid");
    const std::filesystem::path Third = TestSongs::Format0(Folder, "third.mid");

    const tPreparedSongs Prepared =
        PrepareSongs({First, Second, Third}, {false, false, Work.path()});
    ASSERT_EQ(Prepared.Songs.size(), 3u);
    EXPECT_TRUE(Prepared.AllConverted());
    const std::vector<std::filesystem::path> X10 = Prepared.X10Paths();
    EXPECT_EQ(X10[0].parent_path(), Work.path());
    EXPECT_EQ(X10[1].parent_path(), Work.path());
    EXPECT_NE(X10[0], X10[1]);  // the same name from two folders: two work files
    EXPECT_EQ(X10[2], TestSongs::X10PathOf(Third));

    // With no work folder the song is skipped with the system's reason, and the others go on.
    const tPreparedSongs Nowhere = PrepareSongs({First, Third}, tPreparationOptions{});
    EXPECT_EQ(Nowhere.Songs[0].eOutcome, SONG_FILE_SYSTEM_FAILURE);
    EXPECT_NE(Nowhere.Songs[0].FailureText.find("song.midx10"), std::string::npos);
    EXPECT_EQ(Nowhere.Songs[1].eOutcome, SONG_CONVERTED);
}

TEST(SongPreparation, an_interrupt_stops_before_the_next_song) {
    TempDir Folder;
    const std::filesystem::path First = TestSongs::Format0(Folder, "first.mid");
    const std::filesystem::path Second = TestSongs::Format0(Folder, "second.mid");
    int iAsked = 0;
    const tPreparedSongs Prepared =
        PrepareSongs({First, Second}, tPreparationOptions{}, [&] { return ++iAsked > 1; });
    EXPECT_TRUE(Prepared.bStopped);
    EXPECT_EQ(Prepared.Songs.size(), 1u);
    EXPECT_FALSE(Prepared.AllConverted());
    EXPECT_FALSE(Exists(TestSongs::X10PathOf(Second)));
}

TEST(SongPreparation,
     every_converted_file_is_deleted_and_one_that_stays_is_listed_with_its_reason) {
    TempDir Folder;
    const std::filesystem::path Kept = Folder / "kept.midx10";
    std::filesystem::create_directories(Kept / "inside");  // a folder with something in it
    const std::filesystem::path First = TestSongs::Write(Folder, "a.midx10", {1, 2, 3});
    const std::filesystem::path Last = TestSongs::Write(Folder, "b.midx10", {4});
    const std::vector<tUndeletedFile> Undeleted =
        DeleteConvertedFiles({First, Kept, Folder / "already-gone.midx10", Last});
    ASSERT_EQ(Undeleted.size(), 1u);
    EXPECT_EQ(Undeleted[0].Path, Kept);
    EXPECT_FALSE(Undeleted[0].Reason.empty());
    EXPECT_FALSE(Exists(First));
    EXPECT_FALSE(Exists(Last));
}

TEST(SongPreparation, the_transfer_plan_keeps_every_song_in_order_with_the_settings) {
    TempDir Folder;
    const std::filesystem::path Good = TestSongs::Format0(Folder, "good.mid");
    const std::filesystem::path Broken = TestSongs::CutOffNote(Folder, "broken.mid");
    tTransferSettings Settings;
    Settings.iTimeBetweenSongs = 77;
    Settings.iSelectedOutPort = 1;
    Settings.iSelectedInPort = -1;
    const tTransferPlan Plan = MakeTransferPlan(
        Settings, PrepareSongs({Broken, Good}, tPreparationOptions{}), {{"in"}, {"a", "TAV 20:0"}});
    EXPECT_EQ(Plan.SongPaths, (std::vector<std::filesystem::path>{Broken, Good}));
    EXPECT_EQ(Plan.X10Paths, (std::vector<std::filesystem::path>{{}, TestSongs::X10PathOf(Good)}));
    EXPECT_EQ(Plan.Settings.iTimeBetweenSongs, 77);
    EXPECT_EQ(Plan.Settings.iSelectedOutPort, 1);
    EXPECT_EQ(Plan.OutDeviceName, "TAV 20:0");
    EXPECT_EQ(Plan.InDeviceName, "");
}
