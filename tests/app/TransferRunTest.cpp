#include <chrono>
#include <functional>
#include <thread>

#include "TransferFixture.h"
#include "app/AppTexts.h"
#include "app/TransferRun.h"
#include "app/Utf8Path.h"
#include "emulator/VirtualTavDevice.h"
#include "midi/MidiErrorText.h"

namespace {

// The system's path separator (a backslash on Windows), with which a file's label begins.
const std::string kSeparator(1, static_cast<char>(std::filesystem::path::preferred_separator));

struct tRunResult {
    std::vector<tTransferTick> Ticks;
    bool bAllDone = false;
};

// A MIDI system of a case's own with its own transfer object, installed while it lives: the case
// may unplug its devices or shut it down.
struct tOwnSystem {
    cVirtualMidiBackend Backend;
    cScopedMidiBackend Installed{Backend};
    X10FileTransfer Transfer;
};

}  // namespace

class TransferRunTest : public TransferFixture {
  protected:
    tTransferPlan Plan(const std::vector<std::string>& X10Paths, bool bBlind) {
        tTransferPlan Result;
        for (size_t i = 0; i < X10Paths.size(); ++i) {
            Result.SongPaths.push_back(Folder / ("song" + std::to_string(i) + ".mid"));
            Result.X10Paths.emplace_back(X10Paths[i]);
        }
        Result.Settings.iTimeBetweenPackets = 1;
        Result.Settings.iTimeBetweenSongs = 7;
        Result.Settings.bBlindTransfer = bBlind;
        return Result;
    }

    // Runs the plan on the devices as a window's timer would, waiting the interval each tick
    // asks for, so that an emulated device answers in the run's own time. OnTick sees each tick.
    tRunResult Run(tTransferPlan ThePlan, uint32_t uiIn, uint32_t uiOut, int32_t iTimeOut = 1000,
                   const std::function<void(const tTransferTick&)>& OnTick = {},
                   X10FileTransfer* pTransfer = nullptr) {
        ThePlan.Settings.iSelectedInPort = static_cast<int32_t>(uiIn);
        ThePlan.Settings.iSelectedOutPort = static_cast<int32_t>(uiOut);
        ThePlan.Settings.iTimeOut = iTimeOut;
        cTransferRun TheRun(pTransfer != nullptr ? *pTransfer : Transfer, ThePlan);
        tRunResult Result;
        int32_t iInterval = TheRun.Start();
        while (iInterval >= 0 && Result.Ticks.size() < 100000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(iInterval));
            Result.Ticks.push_back(TheRun.Tick());
            if (OnTick) {
                OnTick(Result.Ticks.back());
            }
            iInterval = Result.Ticks.back().iNextIntervalMs;
        }
        Result.bAllDone = TheRun.AllSongsDone();
        TheRun.End();
        return Result;
    }

    // An emulated device's options, storing the songs in the test's folder.
    tTavDeviceOptions Storing(tTavDeviceOptions Options = {}) const {
        Options.StoreFolder = Folder.path();
        return Options;
    }
};

TEST_F(TransferRunTest, one_song_of_20_packets_fills_the_bars_in_twentieths) {
    const tRunResult Result = Run(Plan({SongFile(18 * 112).string()}, true), uiIn, uiOut);
    ASSERT_TRUE(Result.bAllDone);
    int32_t iFileBarMaximum = 0;
    for (const tTransferTick& Tick : Result.Ticks) {
        if (Tick.bFileBarRangeChanged) {
            iFileBarMaximum = Tick.iFileBarMaximum;
        }
        if (Tick.bFileBarValueChanged && Tick.eState != X10_DONE) {
            EXPECT_EQ(Tick.iOverallValue, 5 * Tick.iFileBarValue);
        }
        EXPECT_EQ(Tick.CurrentFileLabel, kSeparator + "song0.mid");
        EXPECT_EQ(Tick.szMessage, nullptr);
    }
    EXPECT_EQ(iFileBarMaximum, 20);
    const tTransferTick& Last = Result.Ticks.back();
    EXPECT_EQ(Last.eState, X10_DONE);
    EXPECT_EQ(Last.iOverallValue, 100);
    EXPECT_EQ(Last.iNextIntervalMs, -1);
    EXPECT_EQ(Last.StateText, "Finished file");
}

TEST_F(TransferRunTest, between_songs_handshakes_pause_and_blind_sends_listen_for_a_cancel) {
    for (const bool bBlind : {false, true}) {
        SCOPED_TRACE(bBlind ? "blind" : "handshakes");
        cVirtualTavDevice Device(Backend, Storing());
        const tRunResult Result =
            Run(Plan({SongFile(300, "a.midx10").string(), "", SongFile(50, "c.midx10").string()},
                     bBlind),
                Device.InDevice(), Device.OutDevice());
        ASSERT_TRUE(Result.bAllDone);
        std::vector<int32_t> SongsSeen;
        int iPauses = 0;
        int iFinishSteps = 0;
        for (const tTransferTick& Tick : Result.Ticks) {
            if (SongsSeen.empty() || SongsSeen.back() != Tick.iCurrentSong) {
                SongsSeen.push_back(Tick.iCurrentSong);
            }
            iPauses += Tick.iNextIntervalMs == 7 ? 1 : 0;
            iFinishSteps += Tick.eState == X10_FINISH ? 1 : 0;
            if (Tick.eState == X10_DONE && Tick.iNextIntervalMs > 0) {
                EXPECT_EQ(Tick.iOverallValue, 200);  // the next song sent is song 2
            }
            EXPECT_LE(Tick.iOverallValue, 300);
        }
        EXPECT_EQ(SongsSeen, (std::vector<int32_t>{0, 2}));
        // Blind, 7 listening steps of 1 ms follow each end-of-file message, the last one's too.
        EXPECT_EQ(iPauses, bBlind ? 0 : 1);
        EXPECT_EQ(iFinishSteps, bBlind ? 2 * (1 + 7) : 2);
        EXPECT_EQ(Result.Ticks.back().iOverallValue, 300);
        Device.Stop();
        EXPECT_EQ(Device.GetFileReports().size(), 2u);
    }
}

TEST_F(TransferRunTest, a_blind_send_hears_a_slow_cancel_of_its_last_packet) {
    // It cancels the last data packet of 300 bytes, its reply coming after the end-of-file
    // message, within the 50 ms that follow.
    cVirtualTavDevice Device(Backend,
                             Storing({.iCancelAt = 3, .ucCancelReason = 4, .uiReplyDelayMs = 20}));
    tTransferPlan ThePlan = Plan({SongFile(300).string()}, true);
    ThePlan.Settings.iTimeBetweenSongs = 50;
    const tRunResult Result = Run(ThePlan, Device.InDevice(), Device.OutDevice());
    EXPECT_FALSE(Result.bAllDone);
    const tTransferTick& Last = Result.Ticks.back();
    EXPECT_EQ(Last.eState, X10_CANCELLED);
    EXPECT_STREQ(Last.szMessage, AppTexts::kCancelled);
    EXPECT_EQ(Last.HandShakeText, "File Data checksum error.");
    EXPECT_FALSE(Backend.IsInOpen(Device.InDevice()));
}

TEST_F(TransferRunTest, a_slow_reply_to_the_song_before_is_not_taken_for_the_next_header) {
    // Its replies are slower than from one song's end-of-file to the next header.
    cVirtualTavDevice Device(Backend, Storing({.uiReplyDelayMs = 15, .bAckEof = true}));
    const std::filesystem::path First = SongFile(300, "a.midx10");
    const std::filesystem::path Second = SongFile(50, "b.midx10");
    tTransferPlan ThePlan = Plan({First.string(), Second.string()}, false);
    ThePlan.Settings.iTimeBetweenSongs = 2;
    const tRunResult Result = Run(ThePlan, Device.InDevice(), Device.OutDevice());
    EXPECT_TRUE(Result.bAllDone) << Result.Ticks.back().StateText;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the last end-of-file's ACK
    Device.Stop();
    EXPECT_EQ(ReadAll(Device.StoredPathFor("song0")), ReadAll(First));
    EXPECT_EQ(ReadAll(Device.StoredPathFor("song1")), ReadAll(Second));
}

TEST_F(TransferRunTest, overall_progress_rounds_halves_to_the_even_neighbour) {
    // 8 packets: 1 of 8 is 12.5 % (shown 12), 3 of 8 is 37.5 % (shown 38).
    const tRunResult Result = Run(Plan({SongFile(6 * 112).string()}, true), uiIn, uiOut);
    std::vector<int32_t> Values;
    for (const tTransferTick& Tick : Result.Ticks) {
        if (Tick.bFileBarValueChanged) {
            Values.push_back(Tick.iOverallValue);
        }
    }
    EXPECT_NE(std::find(Values.begin(), Values.end(), 12), Values.end());
    EXPECT_NE(std::find(Values.begin(), Values.end(), 38), Values.end());
    EXPECT_EQ(std::find(Values.begin(), Values.end(), 13), Values.end());
}

struct tEmulatedCase {
    const char* szWhat;
    bool bBlind;
    tTavDeviceOptions Options;
    size_t uiBytes;
    int32_t iTimeOut = 1000;
};

TEST_F(TransferRunTest, whole_songs_reach_the_emulated_device_byte_for_byte) {
    // The ACK after the WAIT comes later than a time-out of 5 steps, sooner than ten times it.
    const tTavDeviceOptions WaitAt2{.iWaitAt = 2, .uiWaitMs = 20};
    const tEmulatedCase aCases[] = {
        {"handshakes", false, {}, 5000},
        {"handshakes, NAK every third packet", false, {.uiNakEvery = 3}, 3000},
        {"handshakes, WAIT at packet 2", false, WaitAt2, 1000},
        {"handshakes, WAIT at packet 2 with a short time-out", false, WaitAt2, 1000, 5},
        {"handshakes, slow replies", false, {.uiReplyDelayMs = 5}, 700},
        {"blind", true, {}, 5000},
        {"blind to a silent device", true, {.bBlind = true}, 130 * 112},
    };
    for (const tEmulatedCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        cVirtualTavDevice Device(Backend, Storing(Case.Options));
        const std::filesystem::path X10 = SongFile(Case.uiBytes);
        const tRunResult Result = Run(Plan({X10.string()}, Case.bBlind), Device.InDevice(),
                                      Device.OutDevice(), Case.iTimeOut);
        EXPECT_TRUE(Result.bAllDone);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the device's last message
        Device.Stop();
        ASSERT_EQ(Device.GetFileReports().size(), 1u);
        EXPECT_TRUE(Device.GetFileReports()[0].bOk) << Device.GetFileReports()[0].Verdict;
        EXPECT_EQ(ReadAll(Device.StoredPathFor("song0")), ReadAll(X10));
    }
}

struct tStopCase {
    const char* szWhat;
    tTavDeviceOptions Options;
    tX10State eState;
    const char* szMessage;
    const char* szCaption;
    const char* szHandShake;
    const char* szDetail;  // the message box's second paragraph
};

TEST_F(TransferRunTest, each_stop_state_shows_its_message_once_and_stops_the_timer) {
    // One transfer object for all: the handshake shown carries over from the case before.
    const tStopCase aCases[] = {
        {"no reply",
         {.bBlind = true},
         X10_TIMED_OUT,
         AppTexts::kTimedOut,
         "Error",
         "No handshake received",
         ""},
        {"cancel",
         {.iCancelAt = 2, .ucCancelReason = 1},
         X10_CANCELLED,
         AppTexts::kCancelled,
         "Error",
         "File Length = 0 OR no \u2018MIDI\u2019 in file header.",
         "the device's reason: File Length = 0 OR no \u2018MIDI\u2019 in file header."},
        {"wrong packet numbers",
         {.bWrongNumber = true},
         X10_MISMATCH,
         AppTexts::kMismatch,
         "",
         "ACK Received for packet 1",
         ""},
    };
    for (const tStopCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        cVirtualTavDevice Device(Backend, Storing(Case.Options));
        const tRunResult Result =
            Run(Plan({SongFile(1000).string(), SongFile(10, "b").string()}, false),
                Device.InDevice(), Device.OutDevice(), 20);
        EXPECT_FALSE(Result.bAllDone);
        int iMessages = 0;
        for (const tTransferTick& Tick : Result.Ticks) {
            iMessages += Tick.szMessage != nullptr ? 1 : 0;
            EXPECT_EQ(Tick.iCurrentSong, 0);
        }
        EXPECT_EQ(iMessages, 1);
        const tTransferTick& Last = Result.Ticks.back();
        EXPECT_EQ(Last.eState, Case.eState);
        EXPECT_STREQ(Last.szMessage, Case.szMessage);
        EXPECT_STREQ(Last.szCaption, Case.szCaption);
        EXPECT_EQ(Last.HandShakeText, Case.szHandShake);
        EXPECT_EQ(Last.Detail, Case.szDetail);
        EXPECT_EQ(Last.NotSent, "not sent: " + PathToUtf8(Folder / "song1.mid"));
        EXPECT_EQ(Last.iNextIntervalMs, -1);
        EXPECT_FALSE(Backend.IsOutOpen(Device.OutDevice()));
    }
}

TEST_F(TransferRunTest, a_port_that_does_not_open_is_a_send_error_and_short_intervals_become_1ms) {
    tTransferPlan ThePlan = Plan({SongFile(10).string()}, true);
    ThePlan.Settings.iTimeBetweenPackets = 0;
    ThePlan.Settings.iSelectedOutPort = 99;
    ThePlan.Settings.iSelectedInPort = static_cast<int32_t>(uiIn);
    cTransferRun TheRun(Transfer, ThePlan);
    EXPECT_EQ(TheRun.Start(), 1);
    const tTransferTick Tick = TheRun.Tick();
    EXPECT_EQ(Tick.eState, X10_ERROR);
    EXPECT_STREQ(Tick.szMessage, AppTexts::kSendError);
    EXPECT_EQ(Tick.iNextIntervalMs, -1);
    EXPECT_FALSE(TheRun.IsRunning());
    TheRun.End();
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
}

// Each case's own backend lists this output device before the emulated device's.
constexpr uint32_t kFirstOut = 0;

struct tBetweenSongsCase {
    const char* szWhat;
    std::function<void(cVirtualMidiBackend&, const cVirtualTavDevice&)> Change;
    const char* szDetail;  // empty: the run ends well
};

TEST_F(TransferRunTest, before_each_song_the_devices_are_found_again_by_name) {
    const tBetweenSongsCase aCases[] = {
        {"a device listed before it goes: the songs follow it to its new number",
         [](cVirtualMidiBackend& B, const cVirtualTavDevice&) { B.UnplugOutDevice(kFirstOut); },
         ""},
        {"the output device goes",
         [](cVirtualMidiBackend& B, const cVirtualTavDevice& D) {
             B.UnplugOutDevice(D.OutDevice());
         },
         "The MIDI output device \"TAV Emulator\" is no longer connected"},
        {"the input device goes",
         [](cVirtualMidiBackend& B, const cVirtualTavDevice& D) { B.UnplugInDevice(D.InDevice()); },
         "The MIDI input device \"TAV Emulator\" is no longer connected"},
        {"another output device takes its name",
         [](cVirtualMidiBackend& B, const cVirtualTavDevice&) { B.AddOutDevice("TAV Emulator"); },
         "The MIDI output device \"TAV Emulator\" is now the name of more than one device, so "
         "which one was chosen is unknown"},
    };
    for (const tBetweenSongsCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        tOwnSystem Own;
        ASSERT_EQ(Own.Backend.AddOutDevice("TAV out"), kFirstOut);
        cVirtualTavDevice Device(Own.Backend, Storing());
        tTransferPlan ThePlan =
            Plan({SongFile(300, "a.midx10").string(), SongFile(50, "b.midx10").string()}, false);
        ThePlan.OutDeviceName = ThePlan.InDeviceName = "TAV Emulator";
        bool bChanged = false;
        const auto ChangeAfterFirstSong = [&](const tTransferTick& Tick) {
            if (Tick.eState == X10_DONE && !bChanged) {
                Case.Change(Own.Backend, Device);
                bChanged = true;
            }
        };
        const tRunResult Result = Run(ThePlan, Device.InDevice(), Device.OutDevice(), 1000,
                                      ChangeAfterFirstSong, &Own.Transfer);
        const tTransferTick& Last = Result.Ticks.back();
        const std::string Detail = Case.szDetail;
        EXPECT_EQ(Result.bAllDone, Detail.empty());
        EXPECT_EQ(Last.Detail, Detail);
        EXPECT_EQ(Last.iCurrentSong, 1);
        if (!Detail.empty()) {
            EXPECT_EQ(Last.eState, X10_ERROR);
            EXPECT_STREQ(Last.szMessage, AppTexts::kSendError);
        }
    }
}

struct tLossCase {
    const char* szWhat;
    bool bBlind;
    std::function<void(cVirtualMidiBackend&, const cVirtualTavDevice&)> Lose;
    MMRESULT eResult;
    bool bOutput;  // whose failure the detail names
};

TEST_F(TransferRunTest, a_device_or_system_lost_mid_song_ends_the_run_at_once_saying_why) {
    const auto UnplugOut = [](cVirtualMidiBackend& B, const cVirtualTavDevice& D) {
        B.UnplugOutDevice(D.OutDevice());
    };
    const auto UnplugIn = [](cVirtualMidiBackend& B, const cVirtualTavDevice& D) {
        B.UnplugInDevice(D.InDevice());
    };
    const auto ShutDown = [](cVirtualMidiBackend& B, const cVirtualTavDevice&) {
        B.ShutDownSystem();
    };
    const tLossCase aCases[] = {
        {"output unplugged, handshakes", false, UnplugOut, MIDIERR_NODEVICE, true},
        {"output unplugged, blind", true, UnplugOut, MIDIERR_NODEVICE, true},
        {"input unplugged, handshakes", false, UnplugIn, MIDIERR_NODEVICE, false},
        {"input unplugged, blind", true, UnplugIn, MIDIERR_NODEVICE, false},
        {"system shut down, handshakes", false, ShutDown, MMSYSERR_NODRIVER, false},
        {"system shut down, blind", true, ShutDown, MMSYSERR_NODRIVER, false},
    };
    for (const tLossCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        tOwnSystem Own;
        cVirtualTavDevice Device(Own.Backend, Storing({.bBlind = Case.bBlind}));
        int iTicksAfterLoss = -1;
        const auto LoseMidSong = [&](const tTransferTick& Tick) {
            if (iTicksAfterLoss >= 0) {
                ++iTicksAfterLoss;
            } else if (Tick.bFileBarValueChanged && Tick.iFileBarValue == 5) {
                Case.Lose(Own.Backend, Device);
                iTicksAfterLoss = 0;
            }
        };
        // A lost device must not wait for the time-out.
        const tRunResult Result =
            Run(Plan({SongFile(4000).string()}, Case.bBlind), Device.InDevice(), Device.OutDevice(),
                100000, LoseMidSong, &Own.Transfer);
        const tTransferTick& Last = Result.Ticks.back();
        EXPECT_EQ(Last.eState, X10_ERROR);
        EXPECT_STREQ(Last.szMessage, AppTexts::kSendError);
        EXPECT_LE(iTicksAfterLoss, 3);
        // The system's loss is seen on whichever side the run touches first.
        if (Case.eResult == MMSYSERR_NODRIVER) {
            EXPECT_NE(Last.Detail.find(StandardMidiErrorText(MMSYSERR_NODRIVER)), std::string::npos)
                << Last.Detail;
        } else {
            EXPECT_EQ(Last.Detail, DescribeMidiFailure(Case.bOutput ? AppTexts::kOutputDeviceFailed
                                                                    : AppTexts::kInputDeviceFailed,
                                                       Case.eResult, Case.bOutput));
        }
        EXPECT_FALSE(Own.Backend.IsOutOpen(Device.OutDevice()));
        EXPECT_FALSE(Own.Backend.IsInOpen(Device.InDevice()));
    }
}
