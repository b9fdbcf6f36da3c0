#ifdef __unix__
#include <sys/stat.h>
#endif

#include <system_error>

#include "HeldRequeue.h"
#include "TransferFixture.h"
#include "transfer/FileDumpMessages.h"

using TransferStateMachine = TransferFixture;
using States = std::vector<tX10State>;

TEST_F(TransferStateMachine, a_one_packet_song_with_handshakes_takes_the_twelve_steps) {
    Begin(SongFile(3), false);
    EXPECT_EQ(Steps(4), (States{X10_WAIT_PORTS, X10_READY, X10_SEND_HEADER, X10_WAIT_ACK}));
    EXPECT_EQ(StateText(), "Sending Packet 0 of 3 - Waiting for ACK");
    Reply(ACK, 0);
    EXPECT_EQ(Step(), X10_PREPARE_PACKET);
    EXPECT_EQ(PacketsSent(), 1);
    EXPECT_EQ(HandShakeText(), "ACK Received for packet 0");
    EXPECT_EQ(Steps(3), (States{X10_SEND_PACKET, X10_WAIT_ACK, X10_WAIT_TIMEOUT}));
    Reply(ACK, 1);
    EXPECT_EQ(Steps(2), (States{X10_PREPARE_PACKET, X10_SEND_LAST}));
    EXPECT_EQ(PacketsSent(), 3);
    EXPECT_EQ(Steps(2), (States{X10_FINISH, X10_DONE}));
    EXPECT_FALSE(Backend.IsOutOpen(uiOut));
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
    EXPECT_EQ(Sent().size(), 3u);
}

TEST_F(TransferStateMachine, a_blind_song_takes_3D_plus_8_steps_whatever_acks_naks_and_waits_come) {
    for (const size_t uiBytes : {size_t{0}, size_t{1}, size_t{112}, size_t{113}, size_t{1000}}) {
        SCOPED_TRACE(uiBytes);
        Begin(SongFile(uiBytes), true);
        const int iDataPackets = static_cast<int>((uiBytes + 111) / 112);
        const size_t uiSentBefore = Sent().size();
        Steps(2);  // the ports are open
        Deliver({0xF0, 0x7E, 0x42, ACK, 5, 0xF7, 0xF0, 0x7E, 0x42, NAK, 0, 0xF7});
        Reply(WAIT, 0);
        EXPECT_EQ(StepToStop() + 2, 3 * iDataPackets + 8);
        EXPECT_EQ(State(), X10_DONE);
        EXPECT_EQ(PacketsSent(), iDataPackets + 2);
        EXPECT_EQ(Sent().size() - uiSentBefore, static_cast<size_t>(iDataPackets + 2));
    }
}

TEST_F(TransferStateMachine, after_its_end_of_file_message_a_blind_song_listens_for_a_cancel) {
    struct tCase {
        const char* szWhat;
        int iCancelAfterSteps;  // listening steps before the CANCEL comes; -1: none comes
        tX10State eEnd;
    };
    const tCase aCases[] = {
        {"no cancel: done after the listening steps", -1, X10_DONE},
        {"a cancel at once", 0, X10_CANCELLED},
        {"a cancel in the last listening step", 4, X10_CANCELLED},
    };
    constexpr uint32_t kListenSteps = 5;
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        Begin(SongFile(200), true);
        Transfer.SetListenSteps(kListenSteps);
        while (State() != X10_FINISH) {
            Step();
        }
        ASSERT_EQ(Sent().back(), (Bytes{0xF0, 0x7E, 0x23, 0x7B, 0x03, 0xF7}));
        int iListened = 0;
        for (; State() == X10_FINISH; ++iListened) {
            if (iListened == Case.iCancelAfterSteps) {
                Reply(CANCEL, 1);
            }
            Step();
            EXPECT_FALSE(Backend.IsOutOpen(uiOut));  // nothing more is sent for this song
            EXPECT_EQ(Backend.IsInOpen(uiIn), State() == X10_FINISH);
        }
        EXPECT_EQ(State(), Case.eEnd);
        EXPECT_EQ(iListened, Case.iCancelAfterSteps < 0 ? static_cast<int>(kListenSteps) + 1
                                                        : Case.iCancelAfterSteps + 1);
    }
}

TEST_F(TransferStateMachine, the_replies_of_one_batch_are_handled_in_order_until_one_moves_on) {
    Begin(SongFile(200), false);
    SendHeader();
    Deliver({0xF0, 0x7E, 0x42, WAIT, 0,    0xF7, 0xF0, 0x7E,   0x41, ACK,
             0,    0xF7, 0xF0, 0x7E, 0x42, ACK,  0,    0xF7,   0xF0, 0x7E,
             0x42, ACK,  1,    0xF7, 0xF0, 0x7E, 0x42, CANCEL, 4,    0xF7});
    EXPECT_EQ(Step(), X10_PREPARE_PACKET);  // WAIT and another device's ACK pass; ACK 0 counts
    EXPECT_EQ(HandShakeText(), "ACK Received for packet 0");
    Step();
    // ACK 1, left from the batch, then the CANCEL after it.
    EXPECT_EQ(Steps(2), (States{X10_WAIT_ACK, X10_PREPARE_PACKET}));
    Steps(2);
    EXPECT_EQ(Step(), X10_CANCELLED);
}

TEST_F(TransferStateMachine, only_well_formed_replies_from_known_device_bytes_count) {
    struct tCase {
        const char* szWhat;
        Bytes Input;
        tX10State eAfter;
    };
    const tCase aCases[] = {
        {"device byte 0x42", {0xF0, 0x7E, 0x42, ACK, 0, 0xF7}, X10_PREPARE_PACKET},
        {"device byte 0x43", {0xF0, 0x7E, 0x43, ACK, 0, 0xF7}, X10_PREPARE_PACKET},
        {"device byte 0x00", {0xF0, 0x7E, 0x00, ACK, 0, 0xF7}, X10_PREPARE_PACKET},
        {"a foreign device byte", {0xF0, 0x7E, 0x41, ACK, 0, 0xF7}, X10_WAIT_ACK},
        {"a stray 0xF0 before the reply", {0xF0, 0xF0, 0x7E, 0x42, ACK, 0, 0xF7}, X10_WAIT_ACK},
        {"a reply without its closing byte", {0xF0, 0x7E, 0x42, ACK, 0, 0xF6}, X10_WAIT_ACK},
        {"an unknown handshake", {0xF0, 0x7E, 0x42, 0x70, 0, 0xF7}, X10_WAIT_ACK},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        Begin(SongFile(10), false);
        SendHeader();
        Deliver(Case.Input);
        EXPECT_EQ(Step(), Case.eAfter);
        Transfer.EndX10Send();
    }
}

TEST_F(TransferStateMachine, a_reply_split_across_two_batches_is_still_recognised) {
    cHeldRequeue AfterFirstBlock;
    Backend.SetInFaults(uiIn, AfterFirstBlock.Faults());
    Begin(SongFile(10), false);
    Transfer.uiMidiInBlockSize = 4;
    SendHeader();
    Backend.DeliverInput(uiIn, {0xF0, 0x7E, 0x42, ACK, 0x00, 0xF7});
    AfterFirstBlock.WaitUntilHeld();
    EXPECT_EQ(Step(), X10_WAIT_ACK);  // F0 7E 42 7F: no whole reply yet
    AfterFirstBlock.Release();
    Backend.WaitForInput();
    EXPECT_EQ(Step(), X10_PREPARE_PACKET);
}

TEST_F(TransferStateMachine, replies_left_from_the_previous_file_are_not_taken_for_the_next) {
    Begin(SongFile(10, "first.midx10"), true);
    Step();
    Reply(ACK, 0);  // never read: the first file is sent blind
    Reply(ACK, 1);
    StepToStop();
    ASSERT_EQ(State(), X10_DONE);
    Begin(SongFile(10, "second.midx10"), false);
    SendHeader();
    EXPECT_EQ(Step(), X10_WAIT_TIMEOUT);  // the header is still unanswered
    EXPECT_EQ(PacketsSent(), 0);
}

TEST_F(TransferStateMachine, failures_to_open_or_send_end_in_error_with_the_ports_closed) {
    std::filesystem::create_directory(Folder / "folder.midx10");
#ifdef __unix__  // FIFOs are POSIX's; opening one by name would wait for a writer for ever
    ASSERT_EQ(mkfifo((Folder / "fifo.midx10").c_str(), 0600), 0);
#endif
    const auto Reason = [](std::errc eError) { return std::make_error_code(eError).message(); };
    struct tCase {
        const char* szWhat;
        tVirtualFaults OutFaults;
        tVirtualFaults InFaults;
        bool bBlind;
        const char* szSongFile;  // in the folder; null: a good one
        int iSteps;
        std::string FileProblem;
    };
    const tVirtualFaults OpenFails{.eOpenResult = MMSYSERR_ALLOCATED};
    std::vector<tCase> Cases = {
        {"output does not open", OpenFails, {}, false, nullptr, 1, ""},
        {"input does not open", {}, OpenFails, false, nullptr, 1, ""},
        {"the song file is missing",
         {},
         {},
         false,
         "missing.midx10",
         1,
         Reason(std::errc::no_such_file_or_directory)},
        {"the song file is a folder",
         {},
         {},
         false,
         "folder.midx10",
         1,
         Reason(std::errc::is_a_directory)},
        {"the header cannot be prepared", {.uiPrepareFailsOn = 1}, {}, false, nullptr, 4, ""},
        {"a data packet cannot be sent blind", {.uiQueueFailsOn = 2}, {}, true, nullptr, 7, ""},
    };
#ifdef __unix__
    Cases.push_back({"the song file is a FIFO",
                     {},
                     {},
                     false,
                     "fifo.midx10",
                     1,
                     "the file is a FIFO, not a regular file"});
#endif
    for (const tCase& Case : Cases) {
        SCOPED_TRACE(Case.szWhat);
        Backend.SetOutFaults(uiOut, Case.OutFaults);
        Backend.SetInFaults(uiIn, Case.InFaults);
        Begin(Case.szSongFile != nullptr ? Folder / Case.szSongFile : SongFile(500), Case.bBlind);
        EXPECT_EQ(StepToStop(), Case.iSteps);
        EXPECT_EQ(State(), X10_ERROR);
        EXPECT_EQ(StateText(), "TAV Error");
        EXPECT_EQ(Transfer.GetFailure().FileProblem, Case.FileProblem);
        Transfer.EndX10Send();
        EXPECT_FALSE(Backend.IsOutOpen(uiOut));
        EXPECT_FALSE(Backend.IsInOpen(uiIn));
    }
}

// 1000 bytes make 9 data packets. Whatever ends the song, the ports close and the texts say why.
TEST_F(TransferStateMachine, a_song_the_device_or_its_silence_ends_closes_the_ports_and_says_why) {
    struct tCase {
        const char* szWhat;
        bool bBlind;
        int iStepsFirst;  // before the reply; a limit of 0 ends a silent wait in two more
        uint8_t ucReply;  // 0: none comes
        uint8_t ucNumber;
        tX10State eEnd;
        const char* szStateText;      // "": none of its own
        const char* szHandShakeText;  // the cancel reason after a cancel
    };
    const tCase aCases[] = {
        {"silence, before any reply", false, 4, 0, 0, X10_TIMED_OUT, "", "No handshake received"},
        {"a cancel of the header", false, 4, CANCEL, 4, X10_CANCELLED, "TAV has cancelled",
         "File Data checksum error."},
        {"a blind cancel", true, 10, CANCEL, 3, X10_CANCELLED, "TAV has cancelled",
         "File Open failed."},
        {"an ACK of another packet", false, 4, ACK, 1, X10_MISMATCH,
         "Mismatched packets, please restart", "ACK Received for packet 1"},
        {"an EOF at the header", false, 4, ENDFILE, 0, X10_ERROR, "TAV Error", "End Of File"},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        Begin(SongFile(1000), Case.bBlind, 0);
        for (int i = 0; i < Case.iStepsFirst; ++i) {
            Step();
        }
        if (Case.ucReply != 0) {
            Reply(Case.ucReply, Case.ucNumber);
        }
        EXPECT_LE(StepToStop(), 3);
        EXPECT_EQ(State(), Case.eEnd);
        EXPECT_EQ(StateText(), Case.szStateText);
        char acText[64] = "";
        Transfer.GetHandShakeText(acText, sizeof acText);
        if (Case.eEnd == X10_CANCELLED) {
            Transfer.GetCancelReason(acText, sizeof acText);
        }
        EXPECT_STREQ(acText, Case.szHandShakeText);
        EXPECT_EQ(Transfer.GetFailure().bEndedEarly, Case.eEnd == X10_ERROR);
        EXPECT_FALSE(Backend.IsOutOpen(uiOut));
        EXPECT_FALSE(Backend.IsInOpen(uiIn));
        EXPECT_EQ(Step(), Case.eEnd);
    }
}

TEST_F(TransferStateMachine, paced_on_acknowledgement_the_step_of_an_ack_sends_the_next_message) {
    Begin(SongFile(200), false, 1);
    Transfer.AckPaced = true;
    SendHeader();
    Reply(ACK, 0);
    EXPECT_EQ(Steps(2), (States{X10_WAIT_ACK, X10_WAIT_TIMEOUT}));  // data packet 1 is out
    Reply(NAK, 1);                                                  // a resend keeps its steps
    EXPECT_EQ(Steps(3), (States{X10_RESEND_PACKET, X10_SEND_PACKET, X10_WAIT_ACK}));
    Reply(ACK, 1);
    EXPECT_EQ(Step(), X10_WAIT_ACK);  // data packet 2
    Reply(WAIT, 2);
    Reply(ACK, 2);
    EXPECT_EQ(Steps(2), (States{X10_FINISH, X10_DONE}));  // the end-of-file message, then done
    const std::vector<Bytes> Messages = Sent();
    ASSERT_EQ(Messages.size(), 5u);
    EXPECT_EQ(Messages[1], Messages[2]);
    EXPECT_EQ(Messages[4], FileDump::BuildEndOfFile(3));

    Begin(SongFile(200), false, 1);  // silent steps still end the wait after the time-out
    Transfer.AckPaced = true;
    SendHeader();
    EXPECT_EQ(StepToStop(), 3);
    EXPECT_EQ(State(), X10_TIMED_OUT);
}

// Every packet and resend is cut from the bytes read when the song starts.
TEST_F(TransferStateMachine, the_song_file_is_read_whole_when_its_send_begins) {
    const std::filesystem::path File = SongFile(300);
    const Bytes Whole = ReadAll(File);
    Begin(File, true);
    SendHeader();
    std::filesystem::resize_file(File, 100);
    StepToStop();
    EXPECT_EQ(State(), X10_DONE);
    const std::vector<Bytes> Messages = Sent();
    ASSERT_EQ(Messages.size(), 5u);
    EXPECT_EQ(Messages[3], FileDump::BuildDataPacket(3, Whole.data() + 224, 76));
}
