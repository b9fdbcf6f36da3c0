#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "UiTestRegistry.h"
#include "ui/SettingsFile.h"

Q_DECLARE_METATYPE(std::optional<int32_t>)

namespace {

const std::vector<std::string> kFourInputs = {"In A", "In B", "In C", "In D"};
const std::vector<std::string> kTwoOutputs = {"Out A", "Out B"};
constexpr std::optional<int32_t> kNone = std::nullopt;

}  // namespace

// The settings file SongLoader.ini: how a line is read, how the saved choice is checked
// against the devices present, and the bytes written.
class SettingsFileTest : public QObject {
    Q_OBJECT

  private slots:
    void a_line_gives_the_integer_after_its_first_equals_sign_data() {
        QTest::addColumn<QString>("Line");
        QTest::addColumn<std::optional<int32_t>>("Expected");
        QTest::newRow("key and index") << "MIDIINPORT=1" << std::optional<int32_t>(1);
        QTest::newRow("blanks around") << "MIDIINPORT= 3 " << std::optional<int32_t>(3);
        QTest::newRow("tab before") << "MIDIOUTPORT=\t2" << std::optional<int32_t>(2);
        QTest::newRow("minus one") << "MIDIOUTPORT=-1" << std::optional<int32_t>(-1);
        QTest::newRow("leading plus") << "MIDIINPORT=+2" << std::optional<int32_t>(2);
        QTest::newRow("no equals sign: whole line") << " 7" << std::optional<int32_t>(7);
        QTest::newRow("second equals sign is value text") << "A=B=3" << kNone;
        QTest::newRow("any key") << "SOMETHING=5" << std::optional<int32_t>(5);
        QTest::newRow("empty value") << "MIDIINPORT=" << kNone;
        QTest::newRow("letters") << "MIDIINPORT=one" << kNone;
        QTest::newRow("trailing letters") << "MIDIINPORT=1x" << kNone;
        QTest::newRow("inner blank") << "MIDIINPORT=1 2" << kNone;
        QTest::newRow("hex is no base-10") << "MIDIINPORT=0x1" << kNone;
        QTest::newRow("beyond 32 bits") << "MIDIINPORT=2147483648" << kNone;
        QTest::newRow("largest 32-bit")
            << "MIDIINPORT=2147483647" << std::optional<int32_t>(2147483647);
        QTest::newRow("plus minus") << "MIDIINPORT=+-1" << kNone;
        QTest::newRow("lone sign") << "MIDIINPORT=-" << kNone;
    }
    void a_line_gives_the_integer_after_its_first_equals_sign() {
        QFETCH(QString, Line);
        QFETCH(std::optional<int32_t>, Expected);
        QCOMPARE(SettingsFile::ParseIndexLine(Line.toStdString()), Expected);
    }

    void the_saved_choice_is_checked_against_the_devices_present_data() {
        QTest::addColumn<QByteArray>("Content");
        QTest::addColumn<int>("ExpectedIn");
        QTest::addColumn<int>("ExpectedOut");
        QTest::newRow("as written") << QByteArray("MIDIINPORT=1\r\nMIDIOUTPORT=0\r\n") << 1 << 0;
        QTest::newRow("position counts, not the key")
            << QByteArray("MIDIOUTPORT=0\r\nMIDIINPORT=1\r\n") << 0 << 1;
        QTest::newRow("output beyond the last device")
            << QByteArray("MIDIINPORT=0\r\nMIDIOUTPORT=2\r\n") << 0 << -1;
        QTest::newRow("last output device")
            << QByteArray("MIDIINPORT=0\r\nMIDIOUTPORT=1\r\n") << 0 << 1;
        QTest::newRow("blanks around the input")
            << QByteArray("MIDIINPORT= 3 \r\nMIDIOUTPORT=1\r\n") << 3 << 1;
        QTest::newRow("input beyond the last device")
            << QByteArray("MIDIINPORT=4\r\nMIDIOUTPORT=1\r\n") << -1 << 1;
        QTest::newRow("negative index")
            << QByteArray("MIDIINPORT=-2\r\nMIDIOUTPORT=-7\r\n") << -1 << -1;
        QTest::newRow("line feeds only") << QByteArray("MIDIINPORT=2\nMIDIOUTPORT=1\n") << 2 << 1;
        QTest::newRow("second line missing") << QByteArray("MIDIINPORT=2\r\n") << 2 << -1;
        QTest::newRow("empty file") << QByteArray("") << -1 << -1;
        QTest::newRow("no integer on the first line")
            << QByteArray("MIDIINPORT=abc\r\nMIDIOUTPORT=1\r\n") << -1 << 1;
        QTest::newRow("further lines ignored")
            << QByteArray("MIDIINPORT=1\r\nMIDIOUTPORT=1\r\nMIDIOUTPORT=0\r\n") << 1 << 1;
        QTest::newRow("no line end at all") << QByteArray("MIDIINPORT=3") << 3 << -1;
    }
    void the_saved_choice_is_checked_against_the_devices_present() {
        QFETCH(QByteArray, Content);
        QFETCH(int, ExpectedIn);
        QFETCH(int, ExpectedOut);
        TempDir Folder;
        WriteAll(Folder / "SongLoader.ini", {Content.begin(), Content.end()});
        const tDeviceChoice Choice =
            SettingsFile::ReadDeviceChoice(Folder / "SongLoader.ini", kFourInputs, kTwoOutputs);
        QCOMPARE(Choice.iSelectedInPort, ExpectedIn);
        QCOMPARE(Choice.iSelectedOutPort, ExpectedOut);
    }

    void a_missing_file_gives_no_devices() {
        TempDir Folder;
        const tDeviceChoice Choice =
            SettingsFile::ReadDeviceChoice(Folder / "SongLoader.ini", kFourInputs, kTwoOutputs);
        QCOMPARE(Choice.iSelectedInPort, -1);
        QCOMPARE(Choice.iSelectedOutPort, -1);
        QVERIFY(!std::filesystem::exists(Folder / "SongLoader.ini"));
    }

    void a_saved_software_synthesizer_clears_both_choices_data() {
        QTest::addColumn<QString>("OutputName");
        QTest::addColumn<bool>("bCleared");
        QTest::newRow("platform synthesizer") << "Microsoft GS Wavetable SW Synth" << true;
        QTest::newRow("name is exactly the words") << "Wavetable SW Synth" << true;
        QTest::newRow("other letter case") << "Microsoft GS wavetable sw synth" << false;
        QTest::newRow("another device") << "USB MIDI Interface" << false;
    }
    void a_saved_software_synthesizer_clears_both_choices() {
        QFETCH(QString, OutputName);
        QFETCH(bool, bCleared);
        TempDir Folder;
        const std::string Text = "MIDIINPORT=1\r\nMIDIOUTPORT=1\r\n";
        WriteAll(Folder / "SongLoader.ini", {Text.begin(), Text.end()});
        const tDeviceChoice Choice = SettingsFile::ReadDeviceChoice(
            Folder / "SongLoader.ini", kFourInputs, {"Out A", OutputName.toStdString()});
        QCOMPARE(Choice.iSelectedInPort, bCleared ? -1 : 1);
        QCOMPARE(Choice.iSelectedOutPort, bCleared ? -1 : 1);
    }

    void the_file_holds_two_lines_ended_by_cr_lf() {
        TempDir Folder;
        QVERIFY(SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {1, 0}));
        QCOMPARE(ReadText(Folder / "SongLoader.ini"), "MIDIINPORT=1\r\nMIDIOUTPORT=0\r\n");
        QVERIFY(SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {-1, 12}));
        QCOMPARE(ReadText(Folder / "SongLoader.ini"), "MIDIINPORT=-1\r\nMIDIOUTPORT=12\r\n");
    }

    void a_file_that_cannot_be_written_is_reported() {
        TempDir Folder;
        std::filesystem::create_directory(Folder / "SongLoader.ini");
        QVERIFY(!SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {0, 0}));
    }

    void what_is_written_reads_back_the_same() {
        TempDir Folder;
        QVERIFY(SettingsFile::WriteDeviceChoice(Folder / "SongLoader.ini", {3, 1}));
        const tDeviceChoice Choice =
            SettingsFile::ReadDeviceChoice(Folder / "SongLoader.ini", kFourInputs, kTwoOutputs);
        QCOMPARE(Choice.iSelectedInPort, 3);
        QCOMPARE(Choice.iSelectedOutPort, 1);
    }
};

SONGLOADER_UI_TEST(SettingsFileTest);

#include "SettingsFileTest.moc"
