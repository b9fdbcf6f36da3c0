#include <gtest/gtest.h>

#include "TestSongs.h"
#include "app/SongBatch.h"
#include "app/SongDetails.h"
#include "app/TransferEstimate.h"
#include "conversion/SongConversion.h"

namespace {

// A format-1 song of iTracks tracks, each one note.
std::filesystem::path MultiTrack(const TempDir& Folder, const std::string& Name, int iTracks) {
    std::vector<uint8_t> Song = cSmfBuilder::Header(1, static_cast<uint16_t>(iTracks), 480);
    for (int i = 0; i < iTracks; ++i) {
        cSmfBuilder Track;
        Track.NoteOn(0, 0, static_cast<uint8_t>(60 + i), 100).NoteOff(480, 0, 60).EndOfTrack();
        Song = Concat(Song, cSmfBuilder::Chunk("MTrk", Track.Track()));
    }
    return TestSongs::Write(Folder, Name, Song);
}

}  // namespace

// What each song comes to is what the conversion writes and the command line estimates, though
// nothing is written; the note names what the song list should know.
TEST(SongDetails, a_song_is_converted_in_memory_into_its_name_size_packets_time_and_note) {
    TempDir Folder;
    struct tCase {
        std::filesystem::path Song;
        bool bMergeTracks;
        const char* szDeviceName;
        std::string Note;
    };
    const tCase aCases[] = {
        {TestSongs::Format0(Folder, "Waltz.in.three.mid", 300), false, "Waltz", ""},
        {TestSongs::CrowdedInstant(Folder, "crowded.mid"), false, "crowded",
         "events removed at 1 instant"},
        {MultiTrack(Folder, "one.mid", 1), true, "one", "merged from 1 track"},
        {MultiTrack(Folder, "three.mid", 3), true, "three", "merged from 3 tracks"},
        {TestSongs::OfSize(Folder, "big.kar", kLargeSongBytes + 1), false, "big",
         "larger than 100 KB"},
        {TestSongs::CutOffNote(Folder, "cut.mid"), false, "cut", "cannot be sent: "},
    };
    tTransferSettings Settings;
    Settings.bBlindTransfer = false;
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.Song.filename().string());
        const tSongDetails Details = ReadSongDetails(Case.Song, Case.bMergeTracks);
        EXPECT_EQ(Details.DeviceName, Case.szDeviceName);
        EXPECT_EQ(SongNote(Details, "").substr(0, Case.Note.size()), Case.Note);
        EXPECT_EQ(SongNote(Details, "").empty(), Case.Note.empty());
        EXPECT_EQ(Details.MultiTrack, Case.bMergeTracks);
        EXPECT_FALSE(std::filesystem::exists(TestSongs::X10PathOf(Case.Song)));
        if (!Details.Converted) {
            continue;
        }
        tTransferPlan Plan;
        Plan.Settings = Settings;
        Plan.X10Paths = {ConvertSong(Case.Song, {false, Case.bMergeTracks, {}}).X10FilePath};
        const tTransferEstimate Written = EstimateTransfer(Plan);
        EXPECT_EQ(Details.X10Bytes, std::filesystem::file_size(Plan.X10Paths[0]));
        EXPECT_EQ(Details.Packets, Written.PacketTotals[0]);
        EXPECT_EQ(SongSendMs(Details, Settings), Written.iTotalMs);
    }
    EXPECT_EQ(SongNote(ReadSongDetails(aCases[4].Song, false), "also in row 2"),
              "larger than 100 KB; also in row 2");
}

TEST(SongDetails, sizes_are_worded_in_bytes_then_kilobytes_of_1000) {
    const std::pair<uint64_t, const char*> aCases[] = {
        {850, "850 bytes"}, {1000, "1.0 KB"}, {2449, "2.4 KB"},  {9949, "9.9 KB"},
        {9950, "10 KB"},    {61499, "61 KB"}, {100000, "100 KB"}};
    for (const auto& [uiBytes, szText] : aCases) {
        EXPECT_EQ(DescribeBytes(uiBytes), szText);
    }
}
