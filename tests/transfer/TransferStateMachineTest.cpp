#ifdef __unix__
#include <sys/stat.h>
#endif

#include <system_error>

#include "HeldRequeue.h"
#include "TransferFixture.h"
#include "transfer/FileDumpMessages.h"

using TransferStateMachine = TransferFixture;

TEST_F(TransferStateMachine, a_one_packet_song_with_handshakes_takes_the_twelve_steps) {
    Begin(SongFile(3), false);
    const Bytes ExpectedHeader = FileDump::BuildHeader(3, "My Song");
    EXPECT_EQ(Step(), X10_WAIT_PORTS);
    EXPECT_EQ(Step(), X10_READY);
    EXPECT_EQ(Step(), X10_SEND_HEADER);
    EXPECT_EQ(Step(), X10_WAIT_ACK);
    EXPECT_EQ(StateText(), "Sending Packet 0 of 3 - Waiting for ACK");
    Reply(ACK, 0);
    EXPECT_EQ(Step(), X10_PREPARE_PACKET);
    EXPECT_EQ(PacketsSent(), 1);
    EXPECT_EQ(HandShakeText(), "ACK Received for packet 0");
    EXPECT_EQ(Step(), X10_SEND_PACKET);
    EXPECT_EQ(Step(), X10_WAIT_ACK);
    EXPECT_EQ(Step(), X10_WAIT_TIMEOUT);
    Reply(ACK, 1);
    EXPECT_EQ(Step(), X10_PREPARE_PACKET);
    EXPECT_EQ(Step(), X10_SEND_LAST);
    EXPECT_EQ(PacketsSent(), 3);
    EXPECT_EQ(Step(), X10_FINISH);
    EXPECT_EQ(Step(), X10_DONE);
    EXPECT_FALSE(Backend.IsOutOpen(uiOut));
    EXPECT_FALSE(Backend.IsInOpen(uiIn));

    const std::vector<Bytes> Messages = Sent();
    ASSERT_EQ(Messages.size(), 3u);
    EXPECT_EQ(Messages[0], ExpectedHeader);
    EXPECT_EQ(Messages[1].size(), 3u + 1 + 9);
    EXPECT_EQ(Messages[2], (Bytes{0xF0, 0x7E, 0x23, 0x7B, 0x02, 0xF7}));
}

TEST_F(TransferStateMachine, a_blind_song_takes_3D_plus_8_steps_whatever_acks_naks_and_waits_come) {
    for (const size_t uiBytes : {size_t{0}, size_t{1}, size_t{112}, size_t{113}, size_t{1000}}) {
        SCOPED_TRACE(uiBytes);
        Begin(SongFile(uiBytes), true);
        const int iDataPackets = static_cast<int>((uiBytes + 111) / 112);
        const size_t uiSentBefore = Sent().size();
        Step();
        Step();  // the ports are open
        Deliver({0xF0, 0x7E, 0x42, ACK, 5, 0xF7, 0xF0, 0x7E, 0x42, NAK, 0, 0xF7});
        Reply(WAIT, 0);
        EXPECT_EQ(StepToStop() + 2, 3 * iDataPackets + 8);
        EXPECT_EQ(State(), X10_DONE);
        EXPECT_EQ(PacketsSent(), iDataPackets + 2);
        EXPECT_EQ(Sent().size() - uiSentBefore, static_cast<size_t>(iDataPackets + 2));
    }
}

TEST_F(TransferStateMachine, a_device_that_cancels_a_blind_song_ends_it_with_its_reason) {
    Begin(SongFile(1000), true);
    for (int i = 0; i < 10; ++i) {
        Step();  // the header and two data packets are out
    }
    Reply(CANCEL, 3);
    EXPECT_LE(StepToStop(), 3);
    EXPECT_EQ(State(), X10_CANCELLED);
    EXPECT_EQ(HandShakeText(), "CANCEL");
    char acReason[64] = "";
    Transfer.GetCancelReason(acReason, sizeof acReason);
    EXPECT_STREQ(acReason, "File Open failed.");
    EXPECT_FALSE(Backend.IsOutOpen(uiOut));
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
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

TEST_F(TransferStateMachine, packet_numbers_wrap_at_128_while_the_counter_goes_on) {
    Begin(SongFile(112 * 130), true);
    StepToStop();
    ASSERT_EQ(State(), X10_DONE);
    const std::vector<Bytes> Messages = Sent();
    ASSERT_EQ(Messages.size(), 132u);
    EXPECT_EQ(Messages[127][5], 127);
    EXPECT_EQ(Messages[128][5], 0);
    EXPECT_EQ(Messages[129][5], 1);
    EXPECT_EQ(Messages[131], (Bytes{0xF0, 0x7E, 0x23, 0x7B, 131 & 0x7F, 0xF7}));
    EXPECT_EQ(PacketsSent(), 132);
}

TEST_F(TransferStateMachine, a_nak_sends_the_same_message_again) {
    Begin(SongFile(200), false);
    SendHeader();
    Reply(NAK, 0);
    EXPECT_EQ(Step(), X10_RESEND_PACKET);
    EXPECT_EQ(HandShakeText(), "NAK Received for packet 0");
    EXPECT_EQ(Step(), X10_SEND_PACKET);
    EXPECT_EQ(Step(), X10_WAIT_ACK);
    Reply(ACK, 0);
    Step();
    Step();
    Step();  // data packet 1 sent
    Reply(NAK, 1);
    Step();
    Step();
    Step();  // and sent again
    const std::vector<Bytes> Messages = Sent();
    ASSERT_EQ(Messages.size(), 4u);
    EXPECT_EQ(Messages[0], Messages[1]);
    EXPECT_EQ(Messages[2], Messages[3]);
    EXPECT_EQ(Messages[2][5], 1);
}

TEST_F(TransferStateMachine, a_cancel_ends_the_file_and_closes_the_ports) {
    Begin(SongFile(500), false);
    SendHeader();
    Reply(CANCEL, 4);
    EXPECT_EQ(Step(), X10_CANCELLED);
    EXPECT_FALSE(Backend.IsOutOpen(uiOut));
    EXPECT_FALSE(Backend.IsInOpen(uiIn));
    EXPECT_EQ(StateText(), "TAV has cancelled");
    EXPECT_EQ(HandShakeText(), "CANCEL");
    char acReason[64] = "";
    Transfer.GetCancelReason(acReason, sizeof acReason);
    EXPECT_STREQ(acReason, "File Data checksum error.");
    EXPECT_EQ(Step(), X10_CANCELLED);
}

TEST_F(TransferStateMachine, silence_ends_the_file_after_the_limit_plus_two_steps) {
    for (const int32_t iLimit : {0, 1, 5}) {
        SCOPED_TRACE(iLimit);
        Begin(SongFile(10), false, iLimit);
        SendHeader();
        for (int i = 0; i < iLimit + 1; ++i) {
            EXPECT_EQ(Step(), X10_WAIT_TIMEOUT);
        }
        EXPECT_EQ(Step(), X10_TIMED_OUT);
        EXPECT_FALSE(Backend.IsOutOpen(uiOut));
        EXPECT_FALSE(Backend.IsInOpen(uiIn));
    }
}

TEST_F(TransferStateMachine,
       each_wait_gives_the_device_ten_times_the_time_out_until_another_reply) {
    Begin(SongFile(200), false, 3);
    SendHeader();
    EXPECT_EQ(Step(), X10_WAIT_TIMEOUT);  // count 0
    Step();
    Step();  // 2
    Reply(WAIT, 0);
    EXPECT_EQ(Step(), X10_WAIT_TIMEOUT);  // 0 again, of 30
    EXPECT_EQ(HandShakeText(), "WAIT");
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(Step(), X10_WAIT_TIMEOUT);
    }
    Reply(WAIT, 0);
    Step();
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(Step(), X10_WAIT_TIMEOUT);
    }
    Reply(ACK, 0);
    EXPECT_EQ(Step(), X10_PREPARE_PACKET);
    Step();
    EXPECT_EQ(Step(), X10_WAIT_ACK);  // data packet 1 is out: the time-out is 3 again
    EXPECT_EQ(StepToStop(), 3 + 2);
    EXPECT_EQ(State(), X10_TIMED_OUT);
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
    EXPECT_EQ(Step(), X10_WAIT_ACK);
    EXPECT_EQ(Step(), X10_PREPARE_PACKET);  // ACK 1, left from the batch
    Step();
    Step();
    EXPECT_EQ(Step(), X10_CANCELLED);  // and the CANCEL after it
}

// The device's EOF ends the file; the song counts as sent only once every data packet was
// answered. 1000 bytes make 9 data packets.
TEST_F(TransferStateMachine,
       an_end_of_file_handshake_ends_the_file_as_sent_only_after_the_last_packet) {
    struct tCase {
        const char* szWhat;
        bool bBlind;
        int32_t iEofAfter;  // the EOF answers this packet (0: the header); blind: after it went
        tX10State eEnd;
    };
    const tCase aCases[] = {
        {"at the header", false, 0, X10_ERROR},
        {"at data packet 3 of 9", false, 3, X10_ERROR},
        {"at the last data packet", false, 9, X10_DONE},
        {"blind, after data packet 3 went", true, 3, X10_ERROR},
        {"blind, after the end-of-file message went", true, 10, X10_DONE},
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        Begin(SongFile(1000), Case.bBlind);
        Transfer.SetListenSteps(3);
        while (!IsStopState(State())) {
            const bool bAwaiting =
                State() == X10_WAIT_ACK || State() == X10_WAIT_TIMEOUT || State() == X10_FINISH;
            if (bAwaiting && PacketsSent() == Case.iEofAfter) {
                Reply(ENDFILE, static_cast<uint8_t>(Case.iEofAfter));
            } else if (bAwaiting && !Case.bBlind) {
                Reply(ACK, static_cast<uint8_t>(PacketsSent()));
            }
            Step();
        }
        EXPECT_EQ(State(), Case.eEnd);
        EXPECT_EQ(HandShakeText(), "End Of File");
        const tX10Failure& Failure = Transfer.GetFailure();
        EXPECT_EQ(Failure.bEndedEarly, Case.eEnd == X10_ERROR);
        if (Failure.bEndedEarly) {
            EXPECT_EQ(Failure.iEndedAfterPacket, Case.iEofAfter);
            EXPECT_EQ(Failure.iDataPackets, 9);
        }
        EXPECT_FALSE(Backend.IsOutOpen(uiOut));
        EXPECT_FALSE(Backend.IsInOpen(uiIn));
    }
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

TEST_F(TransferStateMachine, an_ack_or_nak_for_another_packet_is_a_mismatch) {
    const std::pair<uint8_t, uint8_t> aCases[] = {{ACK, 1}, {ACK, 127}, {NAK, 5}};
    for (const auto& [ucHandShake, ucNumber] : aCases) {
        Begin(SongFile(10), false);
        SendHeader();
        Reply(ucHandShake, ucNumber);
        EXPECT_EQ(Step(), X10_MISMATCH);
        EXPECT_EQ(StateText(), "Mismatched packets, please restart");
        EXPECT_FALSE(Backend.IsOutOpen(uiOut));
    }
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

TEST_F(TransferStateMachine, a_reply_for_the_message_before_the_awaited_one_is_discarded) {
    struct tCase {
        const char* szWhat;
        size_t uiFirstSongBytes;                           // 0: no song before
        std::vector<std::pair<uint8_t, uint8_t>> Replies;  // to the second song, one per step
        std::vector<tX10State> States;                     // after each
    };
    const tCase aCases[] = {
        {"a doubled ACK of the header",
         0,
         {{ACK, 0}, {ACK, 0}, {NAK, 0}, {ACK, 1}},
         {X10_PREPARE_PACKET, X10_WAIT_ACK, X10_WAIT_ACK, X10_PREPARE_PACKET}},
        {"a slow ACK of the song before's end-of-file message",
         112,  // its end-of-file message is number 2
         {{ACK, 2}, {ACK, 0}, {ACK, 1}},
         {X10_WAIT_ACK, X10_PREPARE_PACKET, X10_PREPARE_PACKET}},
        {"after a song of 127 data packets the slow ACK looks like the header's and is taken",
         127 * 112,  // its end-of-file message is number 0, as the header's reply
         {{ACK, 0}, {ACK, 0}, {ACK, 1}},
         {X10_PREPARE_PACKET, X10_WAIT_ACK, X10_PREPARE_PACKET}},
    };
    // Sends a whole song, answering each message with the ACK a device gives.
    const auto AcknowledgeEveryMessage = [this] {
        while (!IsStopState(State())) {
            if (Step() == X10_WAIT_ACK) {
                Reply(ACK, static_cast<uint8_t>(PacketsSent() & 0x7F));
            }
        }
    };
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        if (Case.uiFirstSongBytes > 0) {
            Begin(SongFile(Case.uiFirstSongBytes, "first.midx10"), false);
            AcknowledgeEveryMessage();
            ASSERT_EQ(State(), X10_DONE);
        }
        Begin(SongFile(500, "second.midx10"), false);
        while (State() != X10_WAIT_ACK) {
            Step();
        }
        for (size_t i = 0; i < Case.Replies.size(); ++i) {
            Reply(Case.Replies[i].first, Case.Replies[i].second);
            EXPECT_EQ(Step(), Case.States[i]) << "reply " << i;
            while (State() == X10_PREPARE_PACKET || State() == X10_SEND_PACKET) {
                Step();  // on to the next packet's wait
            }
        }
        Transfer.EndX10Send();
    }
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

TEST_F(TransferStateMachine, a_song_file_that_shrinks_during_the_send_is_an_error_not_a_success) {
    const std::filesystem::path File = SongFile(300);
    Begin(File, true);
    SendHeader();
    std::filesystem::resize_file(File, 100);
    EXPECT_LE(StepToStop(), 10);
    EXPECT_EQ(State(), X10_ERROR);
}
