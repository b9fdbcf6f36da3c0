#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <sstream>
#include <system_error>
#include <thread>

#include "CliRun.h"
#include "ScopedWorkFolder.h"
#include "TempDir.h"
#include "app/AppTexts.h"
#include "app/SongMessages.h"
#include "app/TransferOptions.h"
#include "cli/Interrupt.h"
#include "conversion/VantorMidiFile.h"
#include "emulator/VirtualTavDevice.h"
#include "midi/MidiBackend.h"
#include "smfbuilder/SmfBuilder.h"
#include "transfer/FileDumpMessages.h"

namespace {

std::string WriteSong(const TempDir& Folder, const std::string& Name, int iNotes) {
    cSmfBuilder Song(480);
    Song.Tempo(0, 500000).ProgramChange(0, 0, 5);
    for (int i = 0; i < iNotes; ++i) {
        Song.NoteOn(0, 0, static_cast<uint8_t>(40 + i % 40), 100)
            .NoteOff(120, 0, static_cast<uint8_t>(40 + i % 40));
    }
    Song.EndOfTrack().WriteTo(Folder / Name);
    return (Folder / Name).string();
}

std::vector<uint8_t> ExpectedX10(const std::string& Song) {
    TempDir Scratch;
    std::filesystem::copy_file(Song, Scratch / "copy.mid");
    VantorMidiFile Converter(Scratch / "copy.mid");
    const std::filesystem::path* pX10 = Converter.ConvertToVantorFormat();
    return pX10 != nullptr ? ReadAll(*pX10) : std::vector<uint8_t>{};
}

}  // namespace

class SendCommand : public ::testing::Test {
  protected:
    tTavDeviceOptions DeviceOptions() const {
        tTavDeviceOptions Options;
        Options.StoreFolder = Store.path();
        return Options;
    }

    cVirtualMidiBackend Backend;
    cScopedMidiBackend Installed{Backend};
    uint32_t uiOther = Backend.AddOutDevice("Wavetable SW Synth");
    TempDir Folder;
    TempDir Store;
    cScopedWorkFolder Work;
};

TEST_F(SendCommand, sends_every_song_to_the_emulated_device_in_both_modes_and_cleans_up) {
    cVirtualTavDevice Device(Backend, DeviceOptions());
    for (const char* szMode : {"--blind", "--handshake", "--ack-paced"}) {
        SCOPED_TRACE(szMode);
        const std::string First = WriteSong(Folder, "first.mid", 30);
        const std::string Second = WriteSong(Folder, "Second Song.mid", 80);
        const tRun Result = RunCli({"send", "--out", "TAV", "--in", "tav emulator", szMode,
                                    "--song-ms", "5", "--packet-ms", "25", First, Second});
        EXPECT_EQ(Result.iStatus, 0) << Result.Err;
        EXPECT_EQ(Result.Err, "");
        EXPECT_NE(Result.Out.find("sent " + Second), std::string::npos) << Result.Out;
        EXPECT_NE(Result.Out.find("sending takes about "), std::string::npos) << Result.Out;
        EXPECT_EQ(Result.Out.find(" at MIDI cable speed\n") != std::string::npos,
                  std::string(szMode) == "--ack-paced")
            << Result.Out;
        // Blind, the device never confirms a song: success is worded so.
        EXPECT_EQ(Result.Out.find("blind: not confirmed by the device") != std::string::npos,
                  std::string(szMode) == "--blind")
            << Result.Out;
        EXPECT_FALSE(std::filesystem::exists(First + "x10"));
        EXPECT_FALSE(std::filesystem::exists(Second + "x10"));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(ReadAll(Device.StoredPathFor("first")), ExpectedX10(First));
        EXPECT_EQ(ReadAll(Device.StoredPathFor("Second Song")), ExpectedX10(Second));
        std::filesystem::remove(Device.StoredPathFor("first"));
        std::filesystem::remove(Device.StoredPathFor("Second Song"));
    }
    Device.Stop();
    ASSERT_EQ(Device.GetFileReports().size(), 6u);
    for (const tFileReport& Report : Device.GetFileReports()) {
        EXPECT_TRUE(Report.bOk) << Report.Verdict;
    }
}

TEST_F(SendCommand, a_cancel_is_reported_with_its_reason_and_the_x10_files_are_deleted) {
    tTavDeviceOptions Options = DeviceOptions();
    Options.iCancelAt = 2;
    Options.ucCancelReason = 4;
    cVirtualTavDevice Device(Backend, Options);
    const std::string Song = WriteSong(Folder, "song.mid", 60);
    const tRun Result =
        RunCli({"send", "--out", "1", "--in", "0", "--handshake", "--packet-ms", "5", Song});
    EXPECT_EQ(Result.iStatus, 1);
    EXPECT_EQ(Result.Err, "songloader-cli send: " + Song + ": " + AppTexts::kCancelled +
                              "\n  the device's reason: File Data checksum error.\n");
    EXPECT_FALSE(std::filesystem::exists(Song + "x10"));
}

TEST_F(SendCommand, songs_that_do_not_convert_are_reported_and_the_rest_are_sent) {
    cVirtualTavDevice Device(Backend, DeviceOptions());
    const std::string Good = WriteSong(Folder, "good.mid", 5);
    const std::string Missing = (Folder / "missing.mid").string();
    const std::string Bad = (Folder / "bad.mid").string();
    WriteAll(Bad, Concat(cSmfBuilder::Header(0, 1, 480), cSmfBuilder::Chunk("MTrk", {0x00, 0x90})));
    const tRun Result = RunCli({"send", "--out", "TAV", "--in", "TAV", Bad, Missing, Good});
    EXPECT_EQ(Result.iStatus, 1);
    EXPECT_EQ(Result.Err,
              Bad + ": cannot convert: the track data ends inside the event at track byte 0\n" +
                  "songloader-cli: " + Missing + " Is Not A Valid Midi File Or File Not Found (" +
                  std::generic_category().message(ENOENT) + ")\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Device.Stop();
    ASSERT_EQ(Device.GetFileReports().size(), 1u);
    EXPECT_TRUE(Device.GetFileReports()[0].bOk);
}

// Bad usage, an unknown device or a value the options dialog would correct: status 2, and
// nothing is converted or sent.
TEST_F(SendCommand, bad_usage_and_unknown_devices_give_status_2_and_convert_nothing) {
    cVirtualTavDevice Device(Backend, DeviceOptions());
    const std::string Song = WriteSong(Folder, "song.mid", 1);
    struct tCase {
        std::vector<std::string> Args;  // after "send --out TAV --in TAV" unless they start so
        const char* szError;            // nullptr: the send goes ahead
    };
    const tCase aCases[] = {
        {{"send", "--in", "TAV", Song}, "both '--out DEV' and '--in DEV' are needed"},
        {{}, "no FILE given"},
        {{"--blind", "--handshake", Song}, "choose one of '--blind' and '--handshake'"},
        {{"--blind", "--ack-paced", Song},
         "'--ack-paced' needs the device's replies, which '--blind' does not wait for"},
        {{"--packet-ms", "fast", Song}, "option '--packet-ms' needs a whole number, not 'fast'"},
        {{"send", "--out", "Nothing", "--in", "TAV", Song},
         "no MIDI output device matches 'Nothing'"},
        {{"send", "--out", "9", "--in", "TAV", Song}, "there is no MIDI output device 9"},
        {{"send", "--out", "e", "--in", "TAV", Song},
         "more than one MIDI output device matches 'e'"},
        {{"--packet-ms", "200", "--handshake", Song},
         "option '--packet-ms' needs a number from 5 to 150, at least 25 when blind, not '200'"},
        {{"--packet-ms", "24", Song},
         "option '--packet-ms' needs a number from 5 to 150, at least 25 when blind, not '24'"},
        {{"--song-ms", "-100", Song},
         "option '--song-ms' needs a number from 1 to 60000, not '-100'"},
        {{"--timeout", "0", Song}, "option '--timeout' needs a number of 1 or more, not '0'"},
        {{"--packet-ms", "5", "--handshake", "--song-ms", "1", "--timeout", "1", Song}, nullptr},
        // With handshakes one song never waits out the time between songs.
        {{"--packet-ms", "25", "--handshake", "--song-ms", "60000", Song}, nullptr},
    };
    for (const tCase& Case : aCases) {
        std::vector<std::string> Args = Case.Args;
        if (Args.empty() || Args.front() != "send") {
            Args.insert(Args.begin(), {"send", "--out", "TAV", "--in", "TAV"});
        }
        SCOPED_TRACE(testing::PrintToString(Args));
        const size_t uiSentBefore = Backend.SentChunks(Device.OutDevice()).size();
        const tRun Result = RunCli(Args);
        if (Case.szError == nullptr) {
            EXPECT_EQ(Result.iStatus, 0) << Result.Err;
            continue;
        }
        EXPECT_EQ(Result.iStatus, 2);
        EXPECT_EQ(Result.Err.rfind("songloader-cli send: " + std::string(Case.szError), 0), 0u)
            << Result.Err;
        EXPECT_EQ(Backend.SentChunks(Device.OutDevice()).size(), uiSentBefore);
        EXPECT_FALSE(std::filesystem::exists(Song + "x10"));
    }
}

TEST_F(SendCommand, a_signal_ends_the_send_with_its_status_and_removes_the_work_files) {
    tTavDeviceOptions Options = DeviceOptions();
    Options.bBlind = true;  // a silent device: the send would wait 1000 steps for a reply
    cVirtualTavDevice Device(Backend, Options);
    const std::string Song = WriteSong(Folder, "song.mid", 10);
    const std::pair<int, int> aSignals[] = {
        {SIGINT, 130},
        {SIGTERM, 143},
#ifdef SIGHUP
        {SIGHUP, 129},
#endif
    };
    for (const auto& [iSignal, iStatus] : aSignals) {
        std::thread Interrupter([iSignal = iSignal] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            RequestInterrupt(iSignal);
        });
        const tRun Result = RunCli(
            {"send", "--out", "TAV", "--in", "TAV", "--handshake", "--packet-ms", "5", Song});
        Interrupter.join();
        EXPECT_EQ(Result.iStatus, iStatus);
        EXPECT_NE(Result.Err.find("interrupted"), std::string::npos);
        EXPECT_FALSE(Backend.IsOutOpen(Device.OutDevice()));
        EXPECT_FALSE(Backend.IsInOpen(Device.InDevice()));
        EXPECT_FALSE(std::filesystem::exists(Song + "x10"));
    }
}

TEST_F(SendCommand, an_interrupt_in_the_pause_between_songs_ends_the_send_at_once) {
    cVirtualTavDevice Device(Backend, DeviceOptions());
    const std::string First = WriteSong(Folder, "first.mid", 1);
    const std::string Second = WriteSong(Folder, "second.mid", 1);
    // The ports close when the first song is done; the minute's pause begins then.
    std::thread Interrupter([&] {
        for (bool bOpened = false; !bOpened || Backend.IsOutOpen(Device.OutDevice());) {
            bOpened = bOpened || Backend.IsOutOpen(Device.OutDevice());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        RequestInterrupt(SIGINT);
    });
    const auto Start = std::chrono::steady_clock::now();
    const tRun Result = RunCli({"send", "--out", "TAV", "--in", "TAV", "--packet-ms", "25",
                                "--song-ms", "60000", First, Second});
    Interrupter.join();
    EXPECT_EQ(Result.iStatus, 130);
    // Far less than the minute's pause; the bound only has to tell the two apart.
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(30));
}

TEST_F(SendCommand, export_writes_the_stream_a_send_puts_on_the_wire) {
    const std::string Song = WriteSong(Folder, "Export Me.take2.mid", 40);
    const std::string Syx = (Folder / "out.syx").string();
    const tRun Result = RunCli({"export", Song, "-o", Syx});
    ASSERT_EQ(Result.iStatus, 0) << Result.Err;
    EXPECT_FALSE(std::filesystem::exists(Song + "x10"));

    cVirtualTavDevice Device(Backend, DeviceOptions());
    ASSERT_EQ(RunCli({"send", "--out", "TAV", "--in", "TAV", Song}).iStatus, 0);
    std::vector<uint8_t> Wire;
    for (const std::vector<uint8_t>& Chunk : Backend.SentChunks(Device.OutDevice())) {
        Wire.insert(Wire.end(), Chunk.begin(), Chunk.end());
    }
    EXPECT_EQ(ReadAll(Syx), Wire);
    const std::vector<uint8_t> X10 = ExpectedX10(Song);
    EXPECT_EQ(std::vector<uint8_t>(Wire.begin(), Wire.begin() + 15 + 9),
              FileDump::BuildHeader(static_cast<uint32_t>(X10.size()), "Export Me"));
}

TEST_F(SendCommand, export_of_a_bad_song_writes_no_syx) {
    const std::string Bad = (Folder / "multi.mid").string();
    WriteAll(Bad, cSmfBuilder::Header(1, 2, 96));
    const std::string Syx = (Folder / "out.syx").string();
    const tRun Result = RunCli({"export", Bad, "-o", Syx});
    EXPECT_EQ(Result.iStatus, 1);
    EXPECT_EQ(Result.Err, "songloader-cli: " + Bad + SongMessages::kNotFormat0 + kMergeHint + "\n");
    EXPECT_FALSE(std::filesystem::exists(Syx));
    EXPECT_EQ(RunCli({"export", Bad}).iStatus, 2);
}

TEST_F(SendCommand, unlock_asks_first_then_sends_the_pair_of_commands) {
    cVirtualTavDevice Device(Backend, DeviceOptions());
    const tRun Refused = RunCli({"unlock", "--out", "TAV"}, "n\n");
    EXPECT_EQ(Refused.iStatus, 1);
    EXPECT_NE(Refused.Out.find(AppTexts::kUnlockQuestion), std::string::npos);
    EXPECT_TRUE(Backend.SentChunks(Device.OutDevice()).empty());

    const tRun Confirmed = RunCli({"unlock", "--out", "TAV"}, "y\n");
    EXPECT_EQ(Confirmed.iStatus, 0) << Confirmed.Err;
    EXPECT_EQ(Backend.SentChunks(Device.OutDevice()),
              (std::vector<std::vector<uint8_t>>{{0xF0, 0x08, 0x42, 0x53, 0x01, 0xF7},
                                                 {0xF0, 0x08, 0x43, 0x53, 0x01, 0xF7}}));
    EXPECT_FALSE(Backend.IsOutOpen(Device.OutDevice()));
    Device.Stop();
    const std::vector<std::string> Lines = Device.ReportLines();
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(Lines[0], "command: unlock default songs (1 of 2)");

    // One message for a device that is not there, not two.
    const tRun NoDevice = RunCli({"unlock", "--out", "7", "--yes"});
    EXPECT_EQ(NoDevice.iStatus, 2);
    EXPECT_EQ(NoDevice.Err.rfind("songloader-cli unlock: there is no MIDI output device 7", 0), 0u)
        << NoDevice.Err;
    EXPECT_EQ(NoDevice.Err.find(AppTexts::kInvalidOutputPort), std::string::npos);
}

TEST_F(SendCommand, songs_that_share_a_device_name_are_refused_unless_allowed) {
    cVirtualTavDevice Device(Backend, DeviceOptions());
    const std::string First = WriteSong(Folder, "MySongCollection-01.mid", 1);
    const std::string Second = WriteSong(Folder, "MySongCollection-02.mid", 1);
    const tRun Refused = RunCli({"send", "--out", "TAV", "--in", "TAV", First, Second});
    EXPECT_EQ(Refused.iStatus, 2);
    EXPECT_NE(Refused.Err.find(First + " and " + Second +
                               " get the same name on the device, \"MySongCollec\""),
              std::string::npos)
        << Refused.Err;
    EXPECT_TRUE(Backend.SentChunks(Device.OutDevice()).empty());
    EXPECT_FALSE(std::filesystem::exists(First + "x10"));

    const tRun Allowed =
        RunCli({"send", "--out", "TAV", "--in", "TAV", "--allow-same-name", First, Second});
    EXPECT_EQ(Allowed.iStatus, 0) << Allowed.Err;
}
