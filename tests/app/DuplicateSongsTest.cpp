#include <gtest/gtest.h>

#include "TestSongs.h"
#include "app/DuplicateSongs.h"

// The same file is found under another spelling of its path and under a hard link; a copy of
// the same size, and a song that is gone, are other songs.
TEST(DuplicateSongs, each_row_names_the_other_rows_that_hold_the_same_file) {
    TempDir Folder;
    const std::filesystem::path A = TestSongs::Format0(Folder, "a.mid");
    const std::filesystem::path B = TestSongs::Format0(Folder, "b.mid", 20);
    std::filesystem::copy_file(A, Folder / "copy of a.mid");
    std::filesystem::create_hard_link(B, Folder / "link to b.mid");
    const std::vector<std::filesystem::path> Rows = {A,
                                                     B,
                                                     Folder / "." / "a.mid",
                                                     Folder / "link to b.mid",
                                                     Folder / "copy of a.mid",
                                                     A,
                                                     Folder / "gone.mid"};
    const std::vector<std::string> Expected = {"also in rows 3, 6",
                                               "also in row 4",
                                               "also in rows 1, 6",
                                               "also in row 2",
                                               "",
                                               "also in rows 1, 3",
                                               ""};
    EXPECT_EQ(DuplicateNotes(Rows), Expected);
}
