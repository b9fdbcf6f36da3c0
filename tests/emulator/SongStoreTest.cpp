#include <gtest/gtest.h>

#include "TempDir.h"
#include "emulator/SongStore.h"

TEST(SongStore, a_song_replaces_the_one_stored_under_its_name) {
    TempDir Folder;
    const cSongStore Store(Folder.path());
    ASSERT_TRUE(Store.Store("SONG", std::vector<uint8_t>{1, 2, 3}).Stored);
    const tStoreResult Result = Store.Store("SONG", std::vector<uint8_t>{9});
    EXPECT_TRUE(Result.Stored);
    EXPECT_EQ(Result.Path, Folder / "SONG.x10");
    EXPECT_EQ(ReadAll(Folder / "SONG.x10"), std::vector<uint8_t>{9});
    EXPECT_FALSE(std::filesystem::exists(Folder / "SONG.x10.part"));
}

TEST(SongStore, a_failed_write_keeps_the_song_stored_before) {
    TempDir Folder;
    const cSongStore Store(Folder.path());
    ASSERT_TRUE(Store.Store("SONG", std::vector<uint8_t>{1, 2, 3}).Stored);
    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(Folder / "SONG.x10.part");
    const tStoreResult Result = Store.Store("SONG", std::vector<uint8_t>{9});
    EXPECT_FALSE(Result.Stored);
    EXPECT_EQ(Result.Error, "cannot write " + (Folder / "SONG.x10.part").string());
    EXPECT_EQ(ReadAll(Folder / "SONG.x10"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(SongStore, names_that_cannot_be_file_names_are_refused) {
    EXPECT_EQ(cSongStore::NameFault("Blues Jam"), "");
    EXPECT_EQ(cSongStore::NameFault("ABCDEFGHIJKL"), "");
    EXPECT_EQ(cSongStore::NameFault("a\\b"),
              "the song name holds the byte 0x5C, which cannot be part of a file name");
    EXPECT_EQ(cSongStore::NameFault("a\x7F"),
              "the song name holds the byte 0x7F, which cannot be part of a file name");
}

TEST(SongStore, a_folder_that_cannot_take_songs_says_why) {
    TempDir Folder;
    WriteAll(Folder / "a file", {1});
    std::filesystem::create_directory(Folder / "blocked");
    // Where the write test's file would go, a folder: the write fails, whoever runs the test.
    std::filesystem::create_directory(Folder / "blocked" / ".tav-emulator-write-test");
    const std::pair<std::filesystem::path, std::string> aCases[] = {
        {Folder.path(), ""},
        {Folder / "missing", "no such folder"},
        {Folder / "a file", "it is a file, not a folder"},
#ifdef _WIN32
        {Folder / "blocked", "it cannot be written: Permission denied"},  // Windows's errno
#else
        {Folder / "blocked", "it cannot be written: Is a directory"},
#endif
    };
    for (const auto& [Path, Fault] : aCases) {
        EXPECT_EQ(cSongStore(Path).CheckFolder(), Fault) << Path;
    }
    EXPECT_TRUE(std::filesystem::is_empty(Folder / "blocked" / ".tav-emulator-write-test"));
    EXPECT_FALSE(std::filesystem::exists(Folder / ".tav-emulator-write-test"));
}
