#include <gtest/gtest.h>

#include "TempDir.h"
#include "app/OutputFile.h"

#ifdef __unix__
#include <sys/stat.h>
#endif

namespace {

const std::vector<uint8_t> kNew = {0xF0, 0x01, 0xF7};
const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

// Everything in the folder but the test's own files: no temporary file may be left.
size_t EntriesIn(const std::filesystem::path& Folder) {
    size_t uiCount = 0;
    for ([[maybe_unused]] const auto& Entry : std::filesystem::directory_iterator(Folder)) {
        ++uiCount;
    }
    return uiCount;
}

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

TEST(OutputFile, a_target_that_is_no_regular_file_is_refused_and_left_as_it_was) {
    TempDir Folder;
    std::filesystem::create_directories(Folder / "folder" / "inside");
    std::filesystem::create_directory(Folder / "empty");
    std::vector<std::filesystem::path> Targets = {Folder / "folder", Folder / "empty"};
#ifdef __unix__
    ASSERT_EQ(mkfifo((Folder / "fifo").c_str(), 0600), 0);  // a write would block for ever
    Targets.push_back(Folder / "fifo");
#endif
    for (const std::filesystem::path& Target : Targets) {
        const std::string Error = WriteOutputFile(Target, kNew);
        EXPECT_NE(Error.find("not a regular file"), std::string::npos) << Error;
        EXPECT_EQ(Error.rfind(Target.string(), 0), 0u) << Error;
        EXPECT_TRUE(std::filesystem::exists(Target));
    }
    EXPECT_TRUE(std::filesystem::exists(Folder / "folder" / "inside"));
    EXPECT_EQ(EntriesIn(Folder.path()), Targets.size());
}

TEST(OutputFile, a_write_that_fails_removes_only_its_own_temporary_file) {
    TempDir Folder;
    const std::string Error = WriteOutputFile(Folder / "missing" / "out.syx", kNew);
    EXPECT_NE(Error.find("cannot write"), std::string::npos) << Error;
    EXPECT_EQ(EntriesIn(Folder.path()), 0u);
}
