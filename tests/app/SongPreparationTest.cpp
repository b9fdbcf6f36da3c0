#include <gtest/gtest.h>

#include "TestSongs.h"
#include "app/SongMessages.h"
#include "app/SongPreparation.h"
#include "app/TransferPlan.h"

namespace {

bool Exists(const std::filesystem::path& Path) {
    return std::filesystem::exists(Path);
}

}  // namespace

TEST(SongPreparation, each_song_gets_its_outcome_and_only_converted_songs_leave_an_x10_file) {
    TempDir Folder;
    TempDir Work;
    const std::filesystem::path Good = TestSongs::Format0(Folder, "good.mid");
    const std::filesystem::path Crowded = TestSongs::CrowdedInstant(Folder, "crowded.mid");
    const std::filesystem::path Broken = TestSongs::CutOffNote(Folder, "broken.mid");
    const std::filesystem::path Multi = TestSongs::Format1(Folder, "multi.mid");
    const std::filesystem::path Text = TestSongs::NotMidi(Folder, "text.mid");
    const std::filesystem::path Gone = Folder / "gone.mid";
    const tPreparedSongs Prepared =
        PrepareSongs({Good, Crowded, Broken, Multi, Text, Gone}, {false, false, Work.path()});

    ASSERT_EQ(Prepared.Songs.size(), 6u);
    const tSongOutcome aeExpected[] = {SONG_CONVERTED, SONG_CONVERTED, SONG_CONTENT_FAILURE,
                                       SONG_REFUSED,   SONG_REFUSED,   SONG_REFUSED};
    for (size_t i = 0; i < 6; ++i) {
        const tPreparedSong& Song = Prepared.Songs[i];
        EXPECT_EQ(Song.eOutcome, aeExpected[i]) << Song.SongPath;
        EXPECT_EQ(Song.X10Path.empty(), Song.eOutcome != SONG_CONVERTED) << Song.SongPath;
        EXPECT_EQ(Song.FailureText.empty(), Song.eOutcome == SONG_CONVERTED) << Song.SongPath;
    }
    EXPECT_FALSE(Prepared.Songs[0].bEventsRemoved);
    EXPECT_TRUE(Prepared.Songs[1].bEventsRemoved);
    EXPECT_NE(Prepared.Songs[2].FailureText.find("track byte"), std::string::npos);
    EXPECT_EQ(Prepared.Songs[3].Check.eKind, SONG_KIND_FORMAT_1);
    EXPECT_EQ(Prepared.Songs[3].FailureText, Multi.string() + SongMessages::kNotFormat0);
    EXPECT_STREQ(Prepared.Songs[3].szRefusalCaption, SongMessages::kNotFormat0Caption);
    EXPECT_EQ(Prepared.Songs[5].Check.eKind, SONG_KIND_NOT_MIDI_FILE);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(IsRefusedForItsTracks(Prepared.Songs[i]), i == 3) << Prepared.Songs[i].SongPath;
    }
    EXPECT_FALSE(Prepared.AllConverted());
    EXPECT_EQ(Prepared.X10Paths(), (std::vector<std::filesystem::path>{Prepared.Songs[0].X10Path,
                                                                       Prepared.Songs[1].X10Path}));
    // The converted songs' files, and nothing else, are in the work folder; none beside a song.
    EXPECT_EQ(EntriesIn(Work.path()), 2u);
    EXPECT_EQ(EntriesIn(Folder.path()), 5u);
}

TEST(SongPreparation, a_multi_track_song_is_merged_when_that_is_asked) {
    TempDir Folder;
    const std::filesystem::path Multi = TestSongs::Format1(Folder, "multi.mid");
    const tPreparedSong Song = PrepareSong(Multi, {false, true, {}});
    EXPECT_EQ(Song.eOutcome, SONG_CONVERTED);
    EXPECT_EQ(Song.dwMergedTracks, 1u);
    EXPECT_FALSE(IsRefusedForItsTracks(Song));
}

TEST(SongPreparation,
     a_song_for_the_device_goes_into_a_work_file_of_its_own_and_no_other_is_touched) {
    TempDir Folder;
    TempDir Work;
    const std::filesystem::path Song = TestSongs::Format0(Folder, "song.mid");
    const std::vector<uint8_t> Theirs = {1, 2, 3};  // what a convert wrote there before
    WriteAll(TestSongs::X10PathOf(Song), Theirs);
    WriteAll(Work / "blocked", {'x'});  // a file where a work folder should be
    struct tCase {
        const char* szWhat;
        std::filesystem::path WorkFolder;
        std::filesystem::path Expected;  // the folder the work files go to
        std::string Start;               // how their names start
    };
    const tCase aCases[] = {
        {"in the work folder", Work / "songloader", Work / "songloader", "song."},
        {"a work folder that cannot be made: hidden beside the song", Work / "blocked" / "in",
         Folder.path(), ".song."},
        {"no work folder: hidden beside the song", {}, Folder.path(), ".song."},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        // The same song twice, as two sends at once would have it: two files.
        const tPreparedSongs Prepared = PrepareSongs({Song, Song}, {false, false, Case.WorkFolder});
        ASSERT_TRUE(Prepared.AllConverted());
        const std::vector<std::filesystem::path> X10 = Prepared.X10Paths();
        EXPECT_NE(X10[0], X10[1]);
        for (const std::filesystem::path& File : X10) {
            EXPECT_EQ(File.parent_path(), Case.Expected);
            EXPECT_EQ(File.filename().string().rfind(Case.Start, 0), 0u) << File;
            EXPECT_EQ(File.extension(), ".x10");
        }
        EXPECT_EQ(ReadAll(X10[0]), ReadAll(X10[1]));
        EXPECT_TRUE(DeleteConvertedFiles(X10).empty());
        EXPECT_FALSE(Exists(X10[0]) || Exists(X10[1]));
        EXPECT_EQ(ReadAll(TestSongs::X10PathOf(Song)), Theirs);
    }
#ifdef __linux__  // a song reached through its descriptor: nothing can be made beside it
    std::FILE* pSong = std::fopen(Song.c_str(), "rb");
    ASSERT_NE(pSong, nullptr);
    const std::filesystem::path Through = "/proc/self/fd/" + std::to_string(fileno(pSong));
    const tPreparedSong Nowhere = PrepareSong(Through, {false, false, Work / "blocked" / "in"});
    std::fclose(pSong);
    EXPECT_EQ(Nowhere.eOutcome, SONG_FILE_SYSTEM_FAILURE);
    EXPECT_EQ(Nowhere.FailureText.rfind("cannot create a work file for the song, not in " +
                                            (Work / "blocked" / "in").string() + ": ",
                                        0),
              0u)
        << Nowhere.FailureText;
#endif
    // A conversion alone writes the x10 file beside the song, as it is asked to.
    const tPreparedSong Converted = PrepareSong(Song, {false, false, Work.path(), false});
    EXPECT_EQ(Converted.X10Path, TestSongs::X10PathOf(Song));
    EXPECT_NE(ReadAll(Converted.X10Path), Theirs);
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
    EXPECT_EQ(Prepared.Songs[0].eOutcome, SONG_CONVERTED);
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
    ASSERT_EQ(Plan.X10Paths.size(), 2u);
    EXPECT_TRUE(Plan.X10Paths[0].empty());
    EXPECT_TRUE(Exists(Plan.X10Paths[1]));
    EXPECT_EQ(Plan.Settings.iTimeBetweenSongs, 77);
    EXPECT_EQ(Plan.Settings.iSelectedOutPort, 1);
    EXPECT_EQ(Plan.OutDeviceName, "TAV 20:0");
    EXPECT_EQ(Plan.InDeviceName, "");
}
