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
    const tPreparedSongs Prepared = PrepareSongs({Good, Crowded, Broken, Multi, Text, Gone}, false);

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
    EXPECT_EQ(Prepared.Songs[3].eVerdict, SONG_NOT_FORMAT_0);
    EXPECT_EQ(Prepared.Songs[3].FailureText, Multi.string() + SongMessages::kNotFormat0);
    EXPECT_EQ(Prepared.Songs[5].eVerdict, SONG_NOT_MIDI_FILE);
    EXPECT_FALSE(Prepared.bFileSystemFailure);
    EXPECT_FALSE(Prepared.AllConverted());
    EXPECT_EQ(Prepared.X10Paths(), (std::vector<std::filesystem::path>{
                                       TestSongs::X10PathOf(Good), TestSongs::X10PathOf(Crowded)}));
}

TEST(SongPreparation, a_file_system_failure_stops_and_removes_the_x10_files_made_so_far) {
    TempDir Folder;
    const std::filesystem::path First = TestSongs::Format0(Folder, "first.mid");
    const std::filesystem::path Blocked = TestSongs::Format0(Folder, "blocked.mid");
    const std::filesystem::path Third = TestSongs::Format0(Folder, "third.mid");
    // A folder where the x10 file should go: it cannot be created.
    std::filesystem::create_directory(TestSongs::X10PathOf(Blocked));
    const tPreparedSongs Prepared = PrepareSongs({First, Blocked, Third}, false);

    EXPECT_TRUE(Prepared.bFileSystemFailure);
    ASSERT_EQ(Prepared.Songs.size(), 2u);  // the third is not tried
    EXPECT_EQ(Prepared.Songs[1].eOutcome, SONG_FILE_SYSTEM_FAILURE);
    EXPECT_FALSE(Prepared.Songs[1].FailureText.empty());
    EXPECT_FALSE(Exists(TestSongs::X10PathOf(First)));
    EXPECT_FALSE(Exists(TestSongs::X10PathOf(Third)));
    EXPECT_FALSE(Prepared.AnyConverted());
    EXPECT_TRUE(Prepared.Undeleted.empty());
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
    Settings.iSelectedOutPort = 3;
    const tTransferPlan Plan = MakeTransferPlan(Settings, PrepareSongs({Broken, Good}, false));
    EXPECT_EQ(Plan.SongPaths, (std::vector<std::filesystem::path>{Broken, Good}));
    EXPECT_EQ(Plan.X10Paths, (std::vector<std::filesystem::path>{{}, TestSongs::X10PathOf(Good)}));
    EXPECT_EQ(Plan.Settings.iTimeBetweenSongs, 77);
    EXPECT_EQ(Plan.Settings.iSelectedOutPort, 3);
}
