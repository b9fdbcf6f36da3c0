#include <gtest/gtest.h>

#include "transfer/SongName.h"

TEST(SongName, is_the_file_name_before_its_first_dot_cut_to_12_characters) {
    const std::pair<const char*, const char*> aCases[] = {
        {"C:\\Songs\\Blues Jam.mid", "Blues Jam"},
        {"/home/me/Intro.take2.mid", "Intro"},
        {"/songs/TwentyCharacterName1.mid", "TwentyCharac"},
        {"/songs/NoDotAtAllInThisName", "NoDotAtAllIn"},
        {"relative.mid", "relative"},
        {"/songs/mixed\\sep/last.mid", "last"},
        {"/songs/.hidden.mid", "hidden"},
        {"/songs/..two dots.mid", "two dots"},
        {"/songs/dir.with.dots/song.mid", "song"},
        {"", ""},
    };
    for (const auto& [szPath, szName] : aCases) {
        EXPECT_EQ(SongNameFromPath(szPath), szName) << szPath;
    }
}

TEST(SongName, replaces_each_character_outside_printable_ascii_with_one_underscore) {
    const std::pair<const char*, const char*> aCases[] = {
        {"/songs/Caf\xC3\xA9.mid", "Caf_"},              // é, 2 bytes
        {"/songs/\xE6\x9B\xB2\xE5\x90\x8D.mid", "__"},   // 2 CJK characters
        {"/songs/\xF0\x9F\x8E\xB5music.mid", "_music"},  // an emoji, 4 bytes
        {"/songs/bad\xFF\xFEutf.mid", "bad__utf"},       // stray bytes
        {"/songs/\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3"
         "\xA9\xC3\xA9\xC3\xA9\xC3\xA9.mid",
         "____________"},            // 13 é, cut to 12
        {"/songs/cut\xC3", "cut_"},  // sequence cut off
        {"/songs/tab\there.mid", "tab_here"},
        {"/songs/\x01\x1F\x7F"
         "ctl.mid",
         "___ctl"},
    };
    for (const auto& [szPath, szName] : aCases) {
        EXPECT_EQ(SongNameFromPath(szPath), szName) << szPath;
    }
}
