#include <gtest/gtest.h>

#include <algorithm>

#include "app/SongNameClash.h"

namespace {

// Paths as the system writes them: with backslashes on Windows.
std::string Native(std::string Text) {
    std::replace(Text.begin(), Text.end(), '/',
                 static_cast<char>(std::filesystem::path::preferred_separator));
    return Text;
}

}  // namespace

TEST(SongNameClash, different_files_with_one_device_name_clash_and_the_same_file_twice_does_not) {
    const std::vector<std::filesystem::path> Songs = {
        "/music/MySongCollection-01.mid",
        "/music/Other.mid",
        "/music/MySongCollection-02.mid",
        "/music/Other.mid",
        "/stick/other.mid",
        "/music/./MySongCollection-03.mid",
    };
    const std::vector<tNameClash> Clashes = FindNameClashes(Songs);
    ASSERT_EQ(Clashes.size(), 1u);
    EXPECT_EQ(Clashes[0].DeviceName, "MySongCollec");
    EXPECT_EQ(Clashes[0].Songs,
              (std::vector<std::filesystem::path>{"/music/MySongCollection-01.mid",
                                                  "/music/MySongCollection-02.mid",
                                                  "/music/MySongCollection-03.mid"}));
    EXPECT_EQ(DescribeNameClashes(Clashes),
              Native("/music/MySongCollection-01.mid, /music/MySongCollection-02.mid and "
                     "/music/MySongCollection-03.mid") +
                  " get the same name on the device, \"MySongCollec\"\n");
    EXPECT_TRUE(FindNameClashes({"/a/x.mid", "/b/../a/x.mid"}).empty());
    EXPECT_TRUE(FindNameClashes({"/a/....", "/b/...."}).empty());  // vetting refuses both
}
