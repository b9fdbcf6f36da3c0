#include <gtest/gtest.h>

#include "TestSongs.h"
#include "app/SongFiles.h"

TEST(SongFiles, names_are_ordered_without_regard_to_case_and_with_numbers_by_value) {
    const std::vector<std::string> Ordered = {"01 intro.mid", "1 intro.MID", "Song 2.mid",
                                              "Song 10.mid",  "song 10.mid", "songbook.mid",
                                              "Waltz.mid",    "waltz2.mid"};
    for (size_t i = 0; i < Ordered.size(); ++i) {
        for (size_t j = 0; j < Ordered.size(); ++j) {
            EXPECT_EQ(SongNameBefore(Ordered[i], Ordered[j]), i < j)
                << Ordered[i] << " / " << Ordered[j];
        }
    }
}

// Files dropped are vetted whatever their names; a folder gives the MIDI files directly inside
// it, by their extension in any case, in name order.
TEST(SongFiles, a_drop_gives_its_files_and_the_songs_directly_inside_its_folders) {
    TempDir Folder;
    const std::filesystem::path Songs = Folder / "songs";
    const std::filesystem::path Empty = Folder / "empty";
    std::filesystem::create_directories(Songs / "inner");
    std::filesystem::create_directories(Empty / "inner.mid");
    for (const char* szName : {"song 10.mid", "Song 2.MID", "b.Rmi", "c.midi", "a.kar", "notes.txt",
                               "mid", "inner/deep.mid"}) {
        WriteAll(Songs / szName, {'x'});
    }
    const std::filesystem::path Text = TestSongs::NotMidi(Folder, "list.txt");
    struct tCase {
        std::vector<std::filesystem::path> Dropped;
        std::vector<std::filesystem::path> Batch;
        std::string Problem;
    };
    const tCase aCases[] = {
        {{Text, Songs, Folder / "gone.mid"},
         {Text, Songs / "a.kar", Songs / "b.Rmi", Songs / "c.midi", Songs / "Song 2.MID",
          Songs / "song 10.mid", Folder / "gone.mid"},
         ""},
        {{Empty, Text}, {Text}, ""},
        {{Empty},
         {},
         Empty.string() + " holds no MIDI file (*.mid *.midi *.kar *.rmi) directly inside it"},
    };
    for (const tCase& Case : aCases) {
        const tDroppedSongs Dropped = SongsFromDrop(Case.Dropped);
        EXPECT_EQ(Dropped.Batch, Case.Batch);
        EXPECT_EQ(Dropped.Problem, Case.Problem);
    }
}
