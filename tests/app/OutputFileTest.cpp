#include <gtest/gtest.h>

#include "TempDir.h"
#include "app/OutputFile.h"

#ifdef __unix__
#include <sys/stat.h>
#endif

namespace {

const std::vector<uint8_t> kNew = {0xF0, 0x01, 0xF7};
const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

}  // namespace

TEST(OutputFile, a_new_or_regular_target_gets_the_bytes_and_no_temporary_file_stays) {
    TempDir Folder;
    EXPECT_EQ(WriteOutputFile(Folder / "new.syx", kNew), "");
    EXPECT_EQ(ReadAll(Folder / "new.syx"), kNew);
    WriteAll(Folder / "old.syx", kOld);
    EXPECT_EQ(WriteOutputFile(Folder / "old.syx", kNew), "");
    EXPECT_EQ(ReadAll(Folder / "old.syx"), kNew);
    EXPECT_EQ(EntriesIn(Folder.path()), 2u);
}

#ifdef __unix__  // the MinGW C++ library makes no symbolic links
TEST(OutputFile, a_link_to_a_regular_file_is_followed_and_stays_a_link) {
    TempDir Folder;
    std::filesystem::create_directory(Folder / "real");
    WriteAll(Folder / "real" / "song.syx", kOld);
    std::filesystem::create_symlink("real/song.syx", Folder / "link.syx");
    EXPECT_EQ(WriteOutputFile(Folder / "link.syx", kNew), "");
    EXPECT_TRUE(std::filesystem::is_symlink(Folder / "link.syx"));
    EXPECT_EQ(ReadAll(Folder / "real" / "song.syx"), kNew);
    EXPECT_EQ(EntriesIn(Folder / "real"), 1u);
}
#endif

TEST(OutputFile, a_target_that_is_no_regular_file_or_the_song_itself_is_refused_untouched) {
    TempDir Folder;
    const std::filesystem::path Song = Folder / "song.mid";
    WriteAll(Song, kOld);
    std::filesystem::create_directories(Folder / "folder" / "inside");
    std::filesystem::create_directory(Folder / "empty");
    std::filesystem::create_hard_link(Song, Folder / "hard link.mid");
    const std::string NoFile = "not a regular file";
    const std::string TheSong = "is the song " + Song.string() + " itself";
    std::vector<std::pair<std::filesystem::path, std::string>> Cases = {
        {Folder / "folder", NoFile},
        {Folder / "empty", NoFile},
        {Song, TheSong},
        {Folder / "hard link.mid", TheSong},
    };
#ifdef __unix__  // the MinGW C++ library makes no symbolic links; FIFOs are POSIX's
    ASSERT_EQ(mkfifo((Folder / "fifo").c_str(), 0600), 0);  // a write would block for ever
    Cases.emplace_back(Folder / "fifo", NoFile);
    std::filesystem::create_symlink("loop2", Folder / "loop1");
    std::filesystem::create_symlink("loop1", Folder / "loop2");
    Cases.emplace_back(Folder / "loop1", NoFile);
    std::filesystem::create_symlink("song.mid", Folder / "link.mid");
    Cases.emplace_back(Folder / "link.mid", TheSong);
#endif
    const size_t uiEntries = EntriesIn(Folder.path());
    for (const auto& [Target, Why] : Cases) {
        const std::string Error = WriteOutputFile(Target, kNew, Song);
        EXPECT_NE(Error.find(Why), std::string::npos) << Error;
        EXPECT_EQ(Error.rfind(Target.string(), 0), 0u) << Error;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(Target)));
    }
    EXPECT_EQ(ReadAll(Song), kOld);
    EXPECT_TRUE(std::filesystem::exists(Folder / "folder" / "inside"));
#ifdef __unix__
    EXPECT_TRUE(std::filesystem::is_symlink(Folder / "loop1"));
    EXPECT_TRUE(std::filesystem::is_symlink(Folder / "link.mid"));
#endif
    EXPECT_EQ(EntriesIn(Folder.path()), uiEntries);
}

TEST(OutputFile, a_write_that_fails_removes_only_its_own_temporary_file) {
    TempDir Folder;
    const std::string Error = WriteOutputFile(Folder / "missing" / "out.syx", kNew);
    EXPECT_NE(Error.find("cannot write"), std::string::npos) << Error;
    EXPECT_EQ(EntriesIn(Folder.path()), 0u);
}
