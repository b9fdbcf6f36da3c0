#include <gtest/gtest.h>

#include <string>

#include "ConvertHelpers.h"
#include "conversion/SongConversion.h"

namespace {

const std::string kDumpHead =
    "\tVantor MIDI TYPEx10 Debug Dump\n"
    "Section     :Original DT :DT         : TOT TIME    : LEN         : DATA\n";

std::string ConvertWithDump(const TempDir& Folder, const std::string& Name,
                            const std::vector<uint8_t>& Track, bool* pbConverted = nullptr) {
    WriteAll(Folder / Name,
             Concat(cSmfBuilder::Header(0, 1, 480), cSmfBuilder::Chunk("MTrk", Track)));
    VantorMidiFile Converter(Folder / Name);
    Converter.SetDebugFlag();
    const bool bConverted = Converter.ConvertToVantorFormat() != nullptr;
    if (pbConverted != nullptr) {
        *pbConverted = bConverted;
    }
    std::string Dump = ReadText(Folder / "mididebug.txt");
#ifdef _WIN32
    std::erase(Dump, '\r');  // a text file, with the system's line ends
#endif
    return Dump;
}

}  // namespace

// Each test converts in a folder of its own, which is the working directory meanwhile.
class DebugDump : public ::testing::Test {
  protected:
    TempDir Folder;
    WorkingDirectory InFolder{Folder.path()};
};

struct tDumpCase {
    const char* szWhat;
    std::vector<uint8_t> Track;
    bool bConverted;
    std::string Rows;
};

TEST_F(DebugDump, lists_each_written_section_in_the_working_directory) {
    const tDumpCase aCases[] = {
        {"the 35-byte example", kExampleTrack, true,
         "\n           0:         0.0:           0:           0:           3: 90 3C 64"
         "\n           1:       480.0:      124999:      124999:           3: 80 3C 40"},
        {"a first delta that is not 0",
         {0x78, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00},
         true,
         "\n           0:       120.0:       31249:       31249:           3: 90 3C 64"},
        {"a silent instant: no row, no gap in the numbers, its time in the next DT",
         {0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0xFF, 0x06, 0x01, 0x41, 0x78, 0x80, 0x3C, 0x40, 0x78,
          0x90, 0x3C, 0x64},
         true,
         "\n           0:         0.0:           0:           0:           3: 90 3C 64"
         "\n           1:       120.0:      156248:      156248:           3: 80 3C 40"
         "\n           2:       120.0:       31249:      187497:           3: 90 3C 64"},
        {"a failure after the start keeps the rows so far",
         {0x00, 0x90, 0x3C, 0x64, 0x78, 0x80, 0x3C, 0x40, 0x78, 0xF8},
         false,
         "\n           0:         0.0:           0:           0:           3: 90 3C 64"},
    };
    for (const tDumpCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        TempDir Own;  // each case in a folder of its own
        WorkingDirectory InOwn(Own.path());
        bool bConverted = false;
        EXPECT_EQ(ConvertWithDump(Own, "song.mid", Case.Track, &bConverted), kDumpHead + Case.Rows);
        EXPECT_EQ(bConverted, Case.bConverted);
    }
}

TEST_F(DebugDump, a_running_time_past_2_to_the_32_units_is_shown_whole) {
    std::vector<uint8_t> Track = {0x00, 0x90, 0x3C, 0x64};
    for (int i = 0; i < 17; ++i) {
        const std::vector<uint8_t> NoteAfterMillionTicks = {0xBD, 0x84, 0x40, 0x90, 0x3C, 0x64};
        Track.insert(Track.end(), NoteAfterMillionTicks.begin(), NoteAfterMillionTicks.end());
    }
    const std::string Dump = ConvertWithDump(Folder, "long.mid", Track);
    // Each section: 1000000 ticks at 260.41666 units a tick, 260416656 units in 32-bit floats.
    EXPECT_NE(Dump.find("\n          17:   1000000.0:   260416656:  4427083152:           3: 90"),
              std::string::npos)
        << Dump;
}

TEST_F(DebugDump, holds_only_the_last_song_converted) {
    ConvertWithDump(Folder, "first.mid", {0x00, 0x90, 0x3C, 0x64, 0x78, 0x80, 0x3C, 0x40});
    const std::string Dump = ConvertWithDump(Folder, "second.mid", {0x00, 0xC0, 0x05});
    EXPECT_EQ(
        Dump,
        kDumpHead + "\n           0:         0.0:           0:           0:           2: C0 05");
}

TEST_F(DebugDump, is_not_written_without_the_flag_and_its_absence_never_fails_a_conversion) {
    WriteAll(Folder / "song.mid", Concat(cSmfBuilder::Header(0, 1, 480),
                                         cSmfBuilder::Chunk("MTrk", {0x00, 0xC0, 0x05})));
    VantorMidiFile Plain(Folder / "song.mid");
    ASSERT_NE(Plain.ConvertToVantorFormat(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(Folder / "mididebug.txt"));

    std::filesystem::create_directory(Folder / "mididebug.txt");  // cannot be opened as a file
    VantorMidiFile Flagged(Folder / "song.mid");
    Flagged.SetDebugFlag();
    EXPECT_NE(Flagged.ConvertToVantorFormat(), nullptr);
    EXPECT_TRUE(Flagged.GetDebugDumpFailed());
}

TEST_F(DebugDump, a_dump_that_cannot_be_written_is_reported_with_the_reason_and_the_song_converts) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    std::filesystem::create_symlink("/dev/full", Folder / "mididebug.txt");  // a full disk
    WriteAll(Folder / "song.mid", Concat(cSmfBuilder::Header(0, 1, 480),
                                         cSmfBuilder::Chunk("MTrk", {0x00, 0xC0, 0x05})));
    tConversionOptions Options;
    Options.bDebugDump = true;
    const tSongConversion Result = ConvertSong(Folder / "song.mid", Options);
    EXPECT_TRUE(Result.bConverted);
    EXPECT_TRUE(Result.bDebugDumpFailed);
    EXPECT_EQ(Result.DebugDumpFailureText,
              std::make_error_code(std::errc::no_space_on_device).message());
}
