#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "ConvertHelpers.h"
#include "conversion/SongConversion.h"
#include "conversion/X10Size.h"

namespace {

std::vector<uint8_t> ExampleSong() {
    cSmfBuilder Song(480);
    Song.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack();
    return Song.File();
}

}  // namespace

class SongFile : public ::testing::Test {
  protected:
    // The example song written into the test's folder under Name.
    std::filesystem::path ExampleIn(const char* szName) const {
        WriteAll(Folder / szName, ExampleSong());
        return Folder / szName;
    }

    TempDir Folder;
};

TEST_F(SongFile, the_x10_name_is_the_full_input_path_with_x10_appended) {
    EXPECT_EQ(VantorMidiFile::MakeX10FilePath("/songs/blues.mid"),
              std::filesystem::path("/songs/blues.midx10"));
    EXPECT_EQ(VantorMidiFile::MakeX10FilePath("relative/My Song.MID"),
              std::filesystem::path("relative/My Song.MIDx10"));
}

TEST_F(SongFile, a_converted_song_replaces_an_older_x10_file_beside_it) {
    const auto Song = ExampleIn("blues.mid");
    WriteAll(Folder / "blues.midx10", std::vector<uint8_t>(500, 0xEE));
    VantorMidiFile Converter(Song);
    const std::filesystem::path* pX10 = Converter.ConvertToVantorFormat();
    ASSERT_NE(pX10, nullptr);
    EXPECT_EQ(*pX10, Folder / "blues.midx10");
    EXPECT_EQ(ReadAll(*pX10).size(), 35u);
}

TEST_F(SongFile, an_x10_file_that_cannot_be_created_is_a_file_system_failure_that_touches_nothing) {
    const auto Song = ExampleIn("song.mid");
    std::filesystem::create_directory(Folder / "song.midx10");  // the name is taken
    WriteAll(Folder / "song.midx10" / "keep", {1});
    VantorMidiFile Converter(Song);
    EXPECT_EQ(Converter.ConvertToVantorFormat(), nullptr);
    EXPECT_EQ(Converter.GetFailure(), CONV_CREATE_FAILED);
    EXPECT_TRUE(Converter.IsFileSystemFailure());
    EXPECT_FALSE(Converter.GetSystemReason().empty());
    EXPECT_FALSE(Converter.RemoveX10File());
    EXPECT_TRUE(std::filesystem::exists(Folder / "song.midx10" / "keep"));
    EXPECT_EQ(EntriesIn(Folder.path()), 2u);
}

TEST_F(SongFile, each_write_of_an_x10_file_has_a_work_file_of_its_own_and_touches_no_other) {
    const auto Song = ExampleIn("Song.mid");
    // Work files of other runs at this moment, under the old fixed name and a random one.
    const std::vector<uint8_t> Theirs(500, 0xEE);
    const std::vector<std::filesystem::path> Others = {
        Folder / ".Song.midx10.part", Folder / ".Song.midx10.0123456789abcdef.part"};
    for (const std::filesystem::path& Other : Others) {
        WriteAll(Other, Theirs);
    }
#ifdef __unix__  // the MinGW C++ library makes no symbolic links
    WriteAll(Folder / "victim", {1, 2, 3});
    std::filesystem::create_symlink(Folder / "victim", Folder / ".Song.midx10.1.part");
#endif
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(ConvertSong(Song, false).bConverted);
        EXPECT_EQ(ReadAll(Folder / "Song.midx10").size(), 35u);
    }
    for (const std::filesystem::path& Other : Others) {
        EXPECT_EQ(ReadAll(Other), Theirs) << Other;
    }
    const size_t uiEntries = EntriesIn(Folder.path());
#ifdef __unix__
    EXPECT_EQ(ReadAll(Folder / "victim"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(uiEntries, 6u);  // the song, its x10 file, the others' files and the link's
#else
    EXPECT_EQ(uiEntries, 4u);  // the song, its x10 file and the others' work files
#endif
}

#ifdef __unix__  // the MinGW C++ library makes no symbolic links
TEST_F(SongFile, a_symbolic_link_at_the_x10_name_is_replaced_never_followed) {
    const auto Song = ExampleIn("song.mid");
    std::filesystem::create_symlink("song.mid", Folder / "song.midx10");
    ASSERT_TRUE(ConvertSong(Song, false).bConverted);
    EXPECT_EQ(ReadAll(Song), ExampleSong());
    EXPECT_TRUE(
        std::filesystem::is_regular_file(std::filesystem::symlink_status(Folder / "song.midx10")));
    EXPECT_EQ(ReadAll(Folder / "song.midx10").size(), 35u);
}
#endif

TEST_F(SongFile, the_x10_file_goes_where_the_caller_says_and_a_missing_folder_gives_the_reason) {
    const auto Song = ExampleIn("song.mid");
    tConversionOptions Options;
    Options.X10FilePath = Folder / "out.bin";
    const tSongConversion Placed = ConvertSong(Song, Options);
    ASSERT_TRUE(Placed.bConverted);
    EXPECT_EQ(Placed.X10FilePath, Folder / "out.bin");
    EXPECT_EQ(ReadAll(Folder / "out.bin").size(), 35u);
    EXPECT_FALSE(std::filesystem::exists(Folder / "song.midx10"));

    Options.X10FilePath = Folder / "missing" / "out.bin";
    const tSongConversion Nowhere = ConvertSong(Song, Options);
    EXPECT_FALSE(Nowhere.bConverted);
    EXPECT_TRUE(Nowhere.bFileSystemFailure);
    const std::string Reason = std::make_error_code(std::errc::no_such_file_or_directory).message();
    EXPECT_EQ(Nowhere.SystemReason, Reason);
    EXPECT_EQ(Nowhere.FailureText,
              "cannot create the song file " + Options.X10FilePath.string() + ": " + Reason);
}

#ifdef __unix__  // FIFOs and device files in the file system are POSIX's
TEST_F(SongFile, a_fifo_or_a_device_given_as_a_song_is_refused_at_once_naming_it) {
    const std::filesystem::path Fifo = Folder / "pipe.mid";
    ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
    const std::pair<std::filesystem::path, std::string> aCases[] = {
        {Fifo, "a FIFO"},
        {"/dev/null", "a device"},
    };
    for (const auto& [Path, Kind] : aCases) {
        SCOPED_TRACE(Path.string());
        const tSongCheck Check = CheckSong(Path);  // would block on the FIFO if it opened it
        EXPECT_EQ(Check.eKind, SONG_KIND_NOT_REGULAR_FILE);
        EXPECT_EQ(Check.FileKind, Kind);
        tConversionOptions Options;
        Options.X10FilePath = Folder / "out.midx10";
        const tSongConversion Result = ConvertSong(Path, Options);
        EXPECT_FALSE(Result.bConverted);
        EXPECT_FALSE(Result.bFileSystemFailure);
        EXPECT_EQ(Result.FailureText, "the file is " + Kind + ", not a regular file");
        EXPECT_EQ(MergeSongFile(Path).eFailure, CONV_NOT_REGULAR_FILE);
    }
    // A FIFO at the x10 name is replaced, never opened, so nothing blocks on it either.
    tConversionOptions Options;
    Options.X10FilePath = Fifo;
    ASSERT_TRUE(ConvertSong(ExampleIn("song.mid"), Options).bConverted);
    EXPECT_TRUE(std::filesystem::is_regular_file(Fifo));
}
#endif

TEST_F(SongFile, vetting_keeps_the_systems_reason_why_a_file_could_not_be_read) {
    WriteAll(Folder / "empty.mid", {});
    WriteAll(Folder / "text.mid", std::vector<uint8_t>(20, 'x'));
    std::filesystem::create_directory(Folder / "folder.mid");
    const auto Reason = [](std::errc eError) { return std::make_error_code(eError).message(); };
    std::vector<std::pair<std::filesystem::path, std::string>> Cases = {
        {Folder / "missing.mid", Reason(std::errc::no_such_file_or_directory)},
        {Folder / "folder.mid", Reason(std::errc::is_a_directory)},
        {Folder / "empty.mid", "the file is empty"},
        {Folder / "text.mid", ""},  // read, and simply no MIDI file
    };
#ifdef __unix__  // the MinGW C++ library makes no symbolic links, and Windows names differ
    std::filesystem::create_symlink("loop2.mid", Folder / "loop1.mid");
    std::filesystem::create_symlink("loop1.mid", Folder / "loop2.mid");
    Cases.emplace_back(Folder / "loop1.mid", Reason(std::errc::too_many_symbolic_link_levels));
    Cases.emplace_back(Folder / (std::string(300, 'x') + ".mid"),
                       Reason(std::errc::filename_too_long));
#endif
    for (const auto& [Path, Why] : Cases) {
        SCOPED_TRACE(Path.filename().string());
        const tSongCheck Check = CheckSong(Path);
        EXPECT_EQ(Check.eKind, SONG_KIND_NOT_MIDI_FILE);
        EXPECT_EQ(Check.Reason, Why);
    }
}

TEST_F(SongFile, vetting_tells_midi_files_and_formats_apart_and_which_each_merge_setting_accepts) {
    struct tVetCase {
        const char* szName;
        std::optional<std::vector<uint8_t>> File;  // none: there is no such file
        tSongKind eKind;
        bool bAcceptedMergingOff;
        bool bAcceptedMergingOn;
    };
    const tVetCase aCases[] = {
        {"zero.mid", ExampleSong(), SONG_KIND_FORMAT_0, true, true},
        {"one.mid", cSmfBuilder::Header(1, 2, 96), SONG_KIND_FORMAT_1, false, true},
        {"two.mid", cSmfBuilder::Header(2, 2, 96), SONG_KIND_FORMAT_2, false, false},
        {"five.mid", cSmfBuilder::Header(5, 1, 96), SONG_KIND_OTHER_FORMAT, false, false},
        {"header-only.mid", std::vector<uint8_t>{'M', 'T', 'h', 'd', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         SONG_KIND_OTHER_FORMAT, false, false},
        {"text.mid", std::vector<uint8_t>(20, 'x'), SONG_KIND_NOT_MIDI_FILE, false, false},
        {"short.mid", std::vector<uint8_t>{'M', 'T', 'h', 'd', 0, 0}, SONG_KIND_NOT_MIDI_FILE,
         false, false},
        {"missing.mid", std::nullopt, SONG_KIND_NOT_MIDI_FILE, false, false},
    };
    for (const tVetCase& Case : aCases) {
        SCOPED_TRACE(Case.szName);
        const auto Path = Folder / Case.szName;
        if (Case.File) {
            WriteAll(Path, *Case.File);
        }
        const tSongCheck Check = CheckSong(Path);
        EXPECT_EQ(Check.eKind, Case.eKind);
        EXPECT_EQ(IsSongAccepted(Check, false), Case.bAcceptedMergingOff);
        EXPECT_EQ(IsSongAccepted(Check, true), Case.bAcceptedMergingOn);
    }
    EXPECT_EQ(CheckSong(Folder / "five.mid").dwFormat, 5u);
    VantorMidiFile Format1(Folder / "one.mid");
    EXPECT_TRUE(Format1.GetIsFileValid());
    EXPECT_EQ(Format1.ReturnMIDIFileType(), 1u);
    VantorMidiFile Missing(Folder / "missing.mid");
    EXPECT_FALSE(Missing.GetIsFileValid());
}

TEST_F(SongFile,
       an_x10_file_of_2_to_the_28_bytes_or_more_is_refused_naming_its_size_and_the_limit) {
    EXPECT_TRUE(IsX10SizeAllowed(268435455));
    EXPECT_FALSE(IsX10SizeAllowed(268435456));
    EXPECT_EQ(X10SizeFailureText(268435456),
              "the song file for the device would be 268435456 bytes, more than the 268435455 it "
              "can take");
}

TEST_F(SongFile, a_song_gone_after_vetting_fails_to_open_with_the_reason_and_writes_nothing) {
    const auto Song = ExampleIn("song.mid");
    VantorMidiFile Converter(Song);
    ASSERT_TRUE(Converter.GetIsFileValid());
    std::filesystem::remove(Song);
    EXPECT_EQ(Converter.ConvertToVantorFormat(), nullptr);
    EXPECT_EQ(Converter.GetFailure(), CONV_OPEN_FAILED);
    EXPECT_TRUE(Converter.IsFileSystemFailure());
    EXPECT_EQ(Converter.GetSystemReason(),
              std::make_error_code(std::errc::no_such_file_or_directory).message());
    EXPECT_EQ(Converter.GetFailureText(), "cannot open the file: " + Converter.GetSystemReason());
    EXPECT_FALSE(std::filesystem::exists(Folder / "song.midx10"));
    EXPECT_FALSE(Converter.RemoveX10File());
}

TEST_F(SongFile, convert_song_removes_the_partial_x10_of_a_malformed_song_and_says_why) {
    const auto Song = Folder / "cut.mid";
    std::vector<uint8_t> Bytes = ExampleSong();
    Bytes[21] += 4;  // the track claims four bytes more than the file holds
    WriteAll(Song, Bytes);
    const tSongConversion Result = ConvertSong(Song, false);
    EXPECT_FALSE(Result.bConverted);
    EXPECT_FALSE(Result.bFileSystemFailure);
    EXPECT_EQ(Result.FailureText, "the track chunk says 17 bytes but the file holds only 13");
    EXPECT_FALSE(std::filesystem::exists(Folder / "cut.midx10"));
}

TEST_F(SongFile, failure_texts_name_the_place_and_the_value) {
    const std::pair<std::vector<uint8_t>, const char*> aCases[] = {
        {Concat(cSmfBuilder::Header(0, 1, 480),
                cSmfBuilder::Chunk("MTrk", {0x00, 0x90, 0x3C, 0x64, 0x00, 0xF9})),
         "the event at track byte 4 is of kind 0xF9, which a MIDI file track may not hold"},
        {Concat(cSmfBuilder::Header(0, 1, 0xE700),
                cSmfBuilder::Chunk("MTrk", {0x00, 0x90, 0x3C, 0x64})),
         "division 0xE700 gives no time base"},
        {Concat(cSmfBuilder::Header(0, 1, 480, 2), {}),
         "the header chunk says 2 bytes, fewer than the 6 it must hold"},
        {Concat(cSmfBuilder::Header(0, 1, 480),
                cSmfBuilder::Chunk("MTrk", {0x00, 0x90, 0x3C, 0x64, 0x10, 0xFF, 0x51, 0x00})),
         "the Set Tempo event at track byte 4 sets a tempo of 0, which would make every time 0"},
        {Concat(cSmfBuilder::Header(0, 1, 1),
                cSmfBuilder::Chunk("MTrk", {0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x51, 0x03, 0x00,
                                            0x00, 0x08, 0xC0, 0x80, 0x80, 0x00, 0x80, 0x3C, 0x40})),
         "section 1 comes too long after the one before it (268435456 units of 4 microseconds, at "
         "most 268435455) at the tempo of 8 microseconds per quarter note set by the Set Tempo "
         "event at track byte 4 (division 1)"},
        {Concat(cSmfBuilder::Header(0, 1, 1),
                cSmfBuilder::Chunk("MTrk",
                                   {0x00, 0x90, 0x3C, 0x64, 0x81, 0x80, 0x00, 0x80, 0x3C, 0x40})),
         "section 1 comes too long after the one before it (2048000000 units of 4 microseconds, "
         "at most 268435455) at the starting tempo of 500000 microseconds per quarter note "
         "(division 1)"},
        // Past 32 bits the delta is still said as it is, not as the largest 32-bit number.
        {Concat(cSmfBuilder::Header(0, 1, 1),
                cSmfBuilder::Chunk(
                    "MTrk", {0x00, 0x90, 0x3C, 0x64, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 0x3C, 0x40})),
         "section 1 comes too long after the one before it (33554432000000 units of 4 "
         "microseconds, at most 268435455) at the starting tempo of 500000 microseconds per "
         "quarter note (division 1)"},
    };
    for (const auto& [File, szText] : aCases) {
        WriteAll(Folder / "bad.mid", File);
        EXPECT_EQ(ConvertSong(Folder / "bad.mid", false).FailureText, szText);
    }
}

namespace {

// A RIFF form of type RMID around the chunks given (kind, bytes), each padded to an even length.
std::vector<uint8_t> RiffMidi(
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& Chunks,
    uint32_t dwDataLengthInstead = 0) {
    std::vector<uint8_t> Body{'R', 'M', 'I', 'D'};
    const auto Append32 = [&Body](uint32_t dwValue) {
        for (int i = 0; i < 4; ++i) {
            Body.push_back(static_cast<uint8_t>(dwValue >> (8 * i)));
        }
    };
    for (const auto& [Kind, Data] : Chunks) {
        Body.insert(Body.end(), Kind.begin(), Kind.end());
        const bool bLie = Kind == "data" && dwDataLengthInstead != 0;
        Append32(bLie ? dwDataLengthInstead : static_cast<uint32_t>(Data.size()));
        Body.insert(Body.end(), Data.begin(), Data.end());
        if (Data.size() % 2 != 0) {
            Body.push_back(0);
        }
    }
    std::vector<uint8_t> File{'R', 'I', 'F', 'F'};
    for (int i = 0; i < 4; ++i) {
        File.push_back(static_cast<uint8_t>(Body.size() >> (8 * i)));
    }
    File.insert(File.end(), Body.begin(), Body.end());
    return File;
}

}  // namespace

TEST_F(SongFile, a_riff_midi_file_is_read_as_the_song_it_wraps_and_a_damaged_wrapper_is_refused) {
    const std::vector<uint8_t> Song = ExampleSong();
    const std::vector<uint8_t> Info{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M',
                                    3,   0,   0,   0,   'a', 'b', 'c'};
    struct tCase {
        const char* szWhat;
        std::vector<uint8_t> File;
        const char* szFault;  // empty: read as the song
    };
    const tCase aCases[] = {
        {"the data chunk first", RiffMidi({{"data", Song}}), ""},
        {"after an odd-length chunk and its pad byte", RiffMidi({{"LIST", Info}, {"data", Song}}),
         ""},
        {"a data chunk longer than the file", RiffMidi({{"data", Song}}, 5000),
         "the RIFF MIDI wrapper is damaged: its chunk \"data\" of 5000 bytes runs past the end of "
         "the file"},
        {"no data chunk", RiffMidi({{"LIST", Info}}),
         "the RIFF MIDI wrapper is damaged: it holds no \"data\" chunk"},
    };
    WriteAll(Folder / "plain.mid", Song);
    const std::vector<uint8_t> Expected =
        ReadAll(*VantorMidiFile(Folder / "plain.mid").ConvertToVantorFormat());
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        WriteAll(Folder / "song.rmi", Case.File);
        const tSongCheck Check = CheckSong(Folder / "song.rmi");
        const tSongConversion Result = ConvertSong(Folder / "song.rmi", tConversionOptions{});
        const std::string Fault = Case.szFault;
        EXPECT_EQ(Check.eKind, Fault.empty() ? SONG_KIND_FORMAT_0 : SONG_KIND_NOT_MIDI_FILE);
        EXPECT_EQ(Check.Reason, Fault);
        EXPECT_EQ(Result.bConverted, Fault.empty());
        EXPECT_EQ(Result.FailureText, Fault);
        if (Result.bConverted) {
            EXPECT_EQ(ReadAll(Result.X10FilePath), Expected);
        }
    }
}
