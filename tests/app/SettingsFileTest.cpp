#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"
#include "app/Utf8Path.h"

#ifdef __unix__
#include <sys/stat.h>
#endif

namespace {

constexpr std::optional<int32_t> kNone = std::nullopt;

tSavedSettings ReadText(const std::string& Text) {
    TempDir Folder;
    WriteAll(Folder / "SongLoader.ini", {Text.begin(), Text.end()});
    return SettingsFile::Read(Folder / "SongLoader.ini");
}

}  // namespace

TEST(SettingsFile, an_index_line_gives_the_integer_after_its_first_equals_sign) {
    const std::pair<const char*, std::optional<int32_t>> aCases[] = {
        {"MIDIINPORT=1", 1},
        {"MIDIINPORT= 3 ", 3},
        {"MIDIOUTPORT=\t2", 2},
        {"MIDIOUTPORT=-1", -1},
        {"MIDIINPORT=+2", 2},
        {" 7", 7},  // no equals sign: the whole line
        {"A=B=3", kNone},
        {"SOMETHING=5", 5},
        {"MIDIINPORT=", kNone},
        {"MIDIINPORT=one", kNone},
        {"MIDIINPORT=1x", kNone},
        {"MIDIINPORT=1 2", kNone},
        {"MIDIINPORT=0x1", kNone},
        {"MIDIINPORT=2147483648", kNone},
        {"MIDIINPORT=2147483647", 2147483647},
        {"MIDIINPORT=+-1", kNone},
        {"MIDIINPORT=-", kNone},
    };
    for (const auto& [szLine, Expected] : aCases) {
        EXPECT_EQ(SettingsFile::ParseIndexLine(szLine), Expected) << szLine;
    }
}

TEST(SettingsFile, the_first_two_lines_count_by_position_and_the_others_by_their_key) {
    struct tCase {
        const char* szWhat;
        std::string Content;
        int32_t iIn;
        int32_t iOut;
        std::string InName;
        std::string OutName;
        bool bMerge;
        bool bAckPaced = false;
    };
    const tCase aCases[] = {
        {"two lines", "MIDIINPORT=1\r\nMIDIOUTPORT=0\r\n", 1, 0, "", "", false},
        {"position counts, not the key", "MIDIOUTPORT=0\r\nMIDIINPORT=1\r\n", 0, 1, "", "", false},
        {"line feeds only", "MIDIINPORT=2\nMIDIOUTPORT=1\n", 2, 1, "", "", false},
        {"second line missing", "MIDIINPORT=2\r\n", 2, -1, "", "", false},
        {"no line end at all", "MIDIINPORT=3", 3, -1, "", "", false},
        {"empty file", "", -1, -1, "", "", false},
        {"no integer on the first line", "MIDIINPORT=abc\r\nMIDIOUTPORT=1\r\n", -1, 1, "", "",
         false},
        {"keyed lines in any order",
         "MIDIINPORT=1\r\nMIDIOUTPORT=1\r\nMERGETRACKS=1\r\nACKPACED=1\r\nMIDIOUTNAME=Out B\r\n"
         "MIDIINNAME=In = 2\r\n",
         1, 1, "In = 2", "Out B", true, true},
        {"unknown keys and other 1/0 values",
         "1\r\n1\r\nCOLOUR=red\r\nMERGETRACKS=yes\r\nACKPACED=on\r\n", 1, 1, "", "", false},
        {"keys on the first two lines are not names", "MIDIINNAME=x\r\nMERGETRACKS=1\r\n", -1, 1,
         "", "", false},
    };
    for (const tCase& Case : aCases) {
        const tSavedSettings Saved = ReadText(Case.Content);
        EXPECT_EQ(Saved.iInPort, Case.iIn) << Case.szWhat;
        EXPECT_EQ(Saved.iOutPort, Case.iOut) << Case.szWhat;
        EXPECT_EQ(Saved.InName, Case.InName) << Case.szWhat;
        EXPECT_EQ(Saved.OutName, Case.OutName) << Case.szWhat;
        EXPECT_EQ(Saved.bMergeTracks, Case.bMerge) << Case.szWhat;
        EXPECT_EQ(Saved.AckPaced, Case.bAckPaced) << Case.szWhat;
    }
}

TEST(SettingsFile, every_key_is_written_in_its_order_and_reads_back_the_same) {
    TempDir Folder;
    const std::filesystem::path File = Folder / "config" / "SongLoader.ini";
    const tSavedSettings Settings{3, -1, "In C 24:0", "", true, true, "/songs"};
    ASSERT_EQ(SettingsFile::Write(File, Settings), "");  // its folder is made
    EXPECT_EQ(::ReadText(File),
              "MIDIINPORT=3\r\nMIDIOUTPORT=-1\r\nMIDIINNAME=In C 24:0\r\nMIDIOUTNAME=\r\n"
              "MERGETRACKS=1\r\nACKPACED=1\r\nLASTFOLDER=/songs\r\n");
    const tSavedSettings Back = SettingsFile::Read(File);
    EXPECT_EQ(Back.iInPort, 3);
    EXPECT_EQ(Back.iOutPort, -1);
    EXPECT_EQ(Back.InName, "In C 24:0");
    EXPECT_TRUE(Back.bMergeTracks);
    EXPECT_TRUE(Back.AckPaced);
}

// Names are kept as they are, in UTF-8; one that would end its line early is not kept, and one
// too long to be read whole is not read cut.
TEST(SettingsFile, the_last_folder_comes_back_as_it_was_or_not_at_all) {
    const std::string Long(4000, 'x');
    const std::pair<std::string, std::string> aCases[] = {
        {"/home/ann/My Songs", "/home/ann/My Songs"},
        {" a=b; c ", " a=b; c "},
        {"/m\xC3\xBAsica/\xE6\xAD\x8C", "/m\xC3\xBAsica/\xE6\xAD\x8C"},
        {"/" + Long, "/" + Long},
        {"/" + Long + Long + Long + Long + Long, ""},
        {"/two\nlines", ""},
        {"/ends\r", ""},
    };
    TempDir Folder;
    for (const auto& [Name, Back] : aCases) {
        tSavedSettings Settings;
        Settings.LastFolder = PathFromUtf8(Name);
        ASSERT_EQ(SettingsFile::Write(Folder / "SongLoader.ini", Settings), "");
        EXPECT_EQ(PathToUtf8(SettingsFile::Read(Folder / "SongLoader.ini").LastFolder), Back);
    }
}

TEST(SettingsFile, a_settings_file_that_is_no_regular_file_is_never_opened) {
    TempDir Folder;
    std::vector<std::filesystem::path> Files = {Folder / "folder"};
    std::filesystem::create_directory(Files.back());
#ifdef __unix__
    Files.push_back(Folder / "fifo");  // opening it would block the window
    ASSERT_EQ(mkfifo(Files.back().c_str(), 0600), 0);
#endif
    for (const std::filesystem::path& File : Files) {
        EXPECT_EQ(SettingsFile::Read(File).iInPort, -1);
        EXPECT_EQ(SettingsFile::Write(File, {}).rfind(File.string(), 0), 0u);
        EXPECT_TRUE(std::filesystem::exists(File));
    }
}

TEST(SettingsLocation, the_copy_beside_the_program_is_used_only_where_the_user_may_keep_it) {
    TempDir Program;
    TempDir User;
    const std::filesystem::path Beside = Program / "SongLoader.ini";
    const std::filesystem::path OfUser = User / "SongLoader.ini";
    EXPECT_EQ(ChooseSettingsFile(Program.path(), User.path()), Beside);  // a writable folder
    WriteAll(Beside, {'1'});
    EXPECT_EQ(ChooseSettingsFile(Program.path(), User.path()), Beside);  // a writable file
    EXPECT_EQ(ChooseSettingsFile(Program / "gone", User.path()), OfUser);
#ifdef __unix__
    EXPECT_EQ(ChooseSettingsFile("/usr/bin", User.path()), OfUser);  // installed
    std::filesystem::remove(Beside);
    ASSERT_EQ(mkfifo(Beside.c_str(), 0600), 0);
    EXPECT_EQ(ChooseSettingsFile(Program.path(), User.path()), OfUser);
#endif
}
