#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <system_error>

#include "CliRun.h"
#include "TempDir.h"
#include "app/SongMessages.h"
#include "smfbuilder/SmfBuilder.h"

namespace {

std::string WriteSong(const TempDir& Folder, const std::string& Name, uint16_t uiFormat = 0) {
    cSmfBuilder Song(480, uiFormat);
    Song.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack();
    Song.WriteTo(Folder / Name);
    return (Folder / Name).string();
}

}  // namespace

TEST(Cli, usage_errors_give_status_2_and_a_hint) {
    const std::pair<std::vector<std::string>, std::string> aCases[] = {
        {{}, "songloader-cli: missing command\n"},
        {{"frobnicate"}, "songloader-cli: unknown command 'frobnicate'\n"},
        {{"--frob"}, "songloader-cli: unrecognized option '--frob'\n"},
        {{"convert"}, "songloader-cli convert: no FILE given\n"},
        {{"convert", "--fast", "a.mid"}, "songloader-cli convert: unrecognized option '--fast'\n"},
        {{"convert", "--debug=yes", "a.mid"},
         "songloader-cli convert: option '--debug' takes no value\n"},
    };
    for (const auto& [Args, FirstLine] : aCases) {
        const tRun Result = RunCli(Args);
        EXPECT_EQ(Result.iStatus, 2);
        EXPECT_EQ(Result.Out, "");
        EXPECT_EQ(Result.Err.substr(0, FirstLine.size()), FirstLine);
        EXPECT_NE(Result.Err.find("--help' for more information."), std::string::npos);
    }
}

TEST(Cli, help_and_version_go_to_stdout_with_status_0) {
    const tRun Help = RunCli({"--help"});
    EXPECT_EQ(Help.iStatus, 0);
    EXPECT_NE(Help.Out.find("convert [--merge-tracks] [--debug] FILE..."), std::string::npos);
    const tRun ConvertHelp = RunCli({"convert", "-h"});
    EXPECT_EQ(ConvertHelp.iStatus, 0);
    EXPECT_NE(ConvertHelp.Out.find("mididebug.txt"), std::string::npos);
    const tRun Version = RunCli({"--version"});
    EXPECT_EQ(Version.iStatus, 0);
    EXPECT_EQ(Version.Out.rfind("songloader-cli ", 0), 0u);
    EXPECT_EQ(Version.Err, "");
}

TEST(Cli, output_that_cannot_be_written_is_an_error_on_stderr_whatever_the_command) {
    // Stdout on a full disk: every write fails, or (buffered) only the flush at the end.
    class cFullDisk : public std::stringbuf {
      public:
        explicit cFullDisk(bool bWritesFail) : bWritesFail(bWritesFail) {}

      protected:
        std::streamsize xsputn(const char* pcText, std::streamsize iCount) override {
            errno = ENOSPC;
            return bWritesFail ? 0 : std::stringbuf::xsputn(pcText, iCount);
        }
        int_type overflow(int_type iChar) override {
            errno = ENOSPC;
            return bWritesFail ? traits_type::eof() : std::stringbuf::overflow(iChar);
        }
        int sync() override {
            errno = ENOSPC;
            return -1;
        }

      private:
        bool bWritesFail;
    };
    TempDir Folder;
    const std::string Song = WriteSong(Folder, "song.mid");
    const std::vector<std::vector<std::string>> Commands = {
        {"--version"}, {"--help"}, {"convert", "--help"}, {"convert", Song}};
    for (const bool bWritesFail : {true, false}) {
        for (const std::vector<std::string>& Args : Commands) {
            SCOPED_TRACE(Args.back() + (bWritesFail ? ", every write fails" : ", the flush fails"));
            cFullDisk Disk(bWritesFail);
            std::ostream Out(&Disk);
            std::ostringstream Err;
            std::istringstream In;
            EXPECT_EQ(RunSongLoaderCli(Args, tCliStreams{In, Out, Err}), 1);
            EXPECT_EQ(Err.str(), "songloader-cli: cannot write the output: " +
                                     std::make_error_code(std::errc::no_space_on_device).message() +
                                     "\n");
        }
    }
}

TEST(Cli, convert_prints_each_x10_path_and_writes_the_file_beside_the_song) {
    TempDir Folder;
    const std::string First = WriteSong(Folder, "one.mid");
    const std::string Second = WriteSong(Folder, "two.mid");
    const tRun Result = RunCli({"convert", First, Second});
    EXPECT_EQ(Result.iStatus, 0);
    EXPECT_EQ(Result.Out, First + "x10\n" + Second + "x10\n");
    EXPECT_EQ(Result.Err, "");
    EXPECT_EQ(ReadAll(First + "x10").size(), 35u);
}

TEST(Cli, convert_reports_each_bad_song_goes_on_and_leaves_no_x10_behind) {
    TempDir Folder;
    const std::string NotMidi = (Folder / "notes.txt.mid").string();
    WriteAll(NotMidi, std::vector<uint8_t>(30, 'a'));
    const std::string Format1 = WriteSong(Folder, "multi.mid", 1);
    const std::string Broken = (Folder / "broken.mid").string();
    WriteAll(Broken, Concat(cSmfBuilder::Header(0, 1, 480),
                            cSmfBuilder::Chunk("MTrk", {0x00, 0x3C, 0x64})));
    const std::string Good = WriteSong(Folder, "good.mid");
    const std::string Missing = (Folder / "missing.mid").string();

    const tRun Result = RunCli({"convert", NotMidi, Format1, Broken, Missing, Good});
    EXPECT_EQ(Result.iStatus, 1);
    EXPECT_EQ(Result.Out, Good + "x10\n");
    const std::string Vetting = "songloader-cli: ";
    EXPECT_EQ(Result.Err,
              Vetting + NotMidi + SongMessages::kNotMidiFile + "\n" + Vetting + Format1 +
                  SongMessages::kNotFormat0 + kMergeHint + "\n" + Broken +
                  ": cannot convert: the event at track byte 0 has data but no status byte "
                  "before it\n" +
                  Vetting + Missing + SongMessages::kNotMidiFile + " (" +
                  std::make_error_code(std::errc::no_such_file_or_directory).message() + ")\n");
    for (const std::string& Song : {NotMidi, Format1, Broken, Missing}) {
        EXPECT_FALSE(std::filesystem::exists(Song + "x10")) << Song;
    }
}

TEST(Cli, convert_warns_about_dropped_events_and_still_succeeds) {
    TempDir Folder;
    cSmfBuilder Crowded(480);
    for (int i = 0; i < 100; ++i) {
        Crowded.NoteOn(0, 0, static_cast<uint8_t>(i), 100);
    }
    Crowded.EndOfTrack();
    const std::string Song = (Folder / "crowded.mid").string();
    Crowded.WriteTo(Song);
    const tRun Result = RunCli({"convert", Song});
    EXPECT_EQ(Result.iStatus, 0);
    EXPECT_EQ(Result.Out, Song + "x10\n");
    EXPECT_EQ(Result.Err, Song + SongMessages::kEventsRemoved + "\n");
}

TEST(Cli, convert_debug_writes_the_dump_in_the_working_directory) {
    TempDir Folder;
    WorkingDirectory InFolder(Folder.path());
    const std::string Song = WriteSong(Folder, "song.mid");
    const tRun Result = RunCli({"convert", "--debug", "--", Song});
    EXPECT_EQ(Result.iStatus, 0);
    const std::string Dump = ReadText(Folder / "mididebug.txt");
    EXPECT_NE(Dump.find("       480.0:      124999:      124999:           3: 80 3C 40"),
              std::string::npos);
}

TEST(Cli, with_merge_tracks_a_multi_track_song_converts_and_merge_writes_the_merged_song) {
    TempDir Folder;
    const std::string Multi = (Folder / "multi.mid").string();
    cSmfBuilder Song(480, 1);
    Song.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack().WriteTo(Multi);

    const tRun Converted = RunCli({"convert", "--merge-tracks", Multi});
    EXPECT_EQ(Converted.iStatus, 0) << Converted.Err;
    EXPECT_EQ(Converted.Err, Multi + ": merged from 1 track\n");
    EXPECT_TRUE(std::filesystem::exists(Multi + "x10"));

    const std::string Out = (Folder / "out.mid").string();
    const tRun Merged = RunCli({"merge", Multi, "-o", Out});
    EXPECT_EQ(Merged.iStatus, 0) << Merged.Err;
    EXPECT_EQ(Merged.Out, Out + "\n");
    EXPECT_EQ(Merged.Err, Multi + ": merged from 1 track\n");
    const std::vector<uint8_t> Bytes = ReadAll(Out);
    ASSERT_GE(Bytes.size(), 14u);
    EXPECT_EQ(Bytes[9], 0);  // format 0

    const std::string Other = (Folder / "other.mid").string();
    WriteAll(Other, Concat(cSmfBuilder::Header(2, 1, 480),
                           cSmfBuilder::Chunk("MTrk", {0x00, 0xFF, 0x2F, 0x00})));
    const tRun Refused = RunCli({"merge", Other, "-o", (Folder / "no.mid").string()});
    EXPECT_EQ(Refused.iStatus, 1);
    EXPECT_EQ(Refused.Err.rfind(Other + ": cannot merge: ", 0), 0u) << Refused.Err;
    EXPECT_FALSE(std::filesystem::exists(Folder / "no.mid"));
    EXPECT_EQ(RunCli({"merge", Multi}).iStatus, 2);  // no -o
}
