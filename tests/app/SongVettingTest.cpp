#include <gtest/gtest.h>

#include <string>

#include "TestSongs.h"
#include "app/SongMessages.h"
#include "app/SongVetting.h"

TEST(SongVetting, a_refused_song_is_worded_after_its_path_for_each_merge_setting) {
    const std::filesystem::path Path = "/songs/x.mid";
    const auto Check = [](tSongKind eKind, uint32_t dwFormat = 0, const char* szReason = "") {
        tSongCheck Result;
        Result.eKind = eKind;
        Result.dwFormat = dwFormat;
        Result.Reason = szReason;
        Result.FileKind = eKind == SONG_KIND_NOT_REGULAR_FILE ? "a FIFO" : "";
        return Result;
    };
    const std::string NotMidi = SongMessages::kNotMidiFile;
    const std::string Type0 = SongMessages::kNotFormat0;
    struct tCase {
        tSongCheck Check;
        std::string MergingOff;  // after the path; empty when accepted
        std::string MergingOn;
        const char* szCaption;  // of a refusal
    };
    const tCase aCases[] = {
        {Check(SONG_KIND_FORMAT_0), "", "", ""},
        {Check(SONG_KIND_FORMAT_1, 1), Type0, "", SongMessages::kNotFormat0Caption},
        {Check(SONG_KIND_FORMAT_2, 2), Type0, SongMessages::kIndependentSequences,
         SongMessages::kNotFormat0Caption},
        {Check(SONG_KIND_OTHER_FORMAT, 5), Type0,
         std::string(" is a MIDI file of format 5") + SongMessages::kUnknownFormat,
         SongMessages::kNotFormat0Caption},
        {Check(SONG_KIND_NOT_MIDI_FILE), NotMidi, NotMidi, SongMessages::kNotMidiFileCaption},
        {Check(SONG_KIND_NOT_MIDI_FILE, 0, "Is a directory"), NotMidi + " (Is a directory)",
         NotMidi + " (Is a directory)", SongMessages::kNotMidiFileCaption},
        {Check(SONG_KIND_NOT_REGULAR_FILE), " is a FIFO, not a MIDI file; it was not read",
         " is a FIFO, not a MIDI file; it was not read", SongMessages::kNotMidiFileCaption},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.MergingOff + " / " + Case.MergingOn);
        EXPECT_EQ(SongCheckMessage(Path, Case.Check, false),
                  Case.MergingOff.empty() ? "" : Path.string() + Case.MergingOff);
        EXPECT_EQ(SongCheckMessage(Path, Case.Check, true),
                  Case.MergingOn.empty() ? "" : Path.string() + Case.MergingOn);
        if (!Case.MergingOff.empty()) {
            EXPECT_STREQ(SongCheckCaption(Case.Check), Case.szCaption);
        }
    }
}

// Only a format-1 song refused for want of merging gets the window's hint.
TEST(SongVetting, the_window_points_a_refused_format_1_song_to_the_merge_option) {
    TempDir Folder;
    const std::string Format0 = TestSongs::Format0(Folder, "zero.mid").string();
    const std::string Format1 = TestSongs::Format1(Folder, "one.mid").string();
    const std::string NotMidi = TestSongs::NotMidi(Folder, "text.mid").string();
    const std::string Hint = SongMessages::kMergeOptionHint;
    // Any other refusal is left as vetting words it, with the merge option on or off.
    const std::pair<std::string, bool> aSongs[] = {
        {Format0, false}, {Format1, false}, {Format1, true}, {NotMidi, false}, {NotMidi, true}};
    const std::string aExpected[] = {"", Format1 + SongMessages::kNotFormat0 + Hint, "",
                                     NotMidi + SongMessages::kNotMidiFile,
                                     NotMidi + SongMessages::kNotMidiFile};
    for (size_t i = 0; i < std::size(aSongs); ++i) {
        const auto& [Song, bMerge] = aSongs[i];
        EXPECT_EQ(RefusalWithMergeHint(VetSongForDevice(Song, bMerge), bMerge), aExpected[i]);
    }
}
