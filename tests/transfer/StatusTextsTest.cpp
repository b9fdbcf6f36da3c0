#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "transfer/StatusTexts.h"

namespace {

std::string StateText(tX10State eState, int32_t iSent, int32_t iTotal,
                      const char* szBefore = "before") {
    char acBuffer[128];
    std::strcpy(acBuffer, szBefore);
    StatusTexts::StateText(eState, iSent, iTotal, acBuffer, sizeof acBuffer);
    return acBuffer;
}

std::string HandShake(uint8_t ucHandShake, uint8_t ucPacket) {
    char acBuffer[64];
    std::strcpy(acBuffer, "before");
    StatusTexts::HandShakeText(ucHandShake, ucPacket, acBuffer, sizeof acBuffer);
    return acBuffer;
}

}  // namespace

TEST(StatusTexts, each_state_has_its_text_or_keeps_the_one_before) {
    const std::pair<tX10State, const char*> aCases[] = {
        {X10_PORT_CLOSED, "Port is closed"},
        {X10_READY, "Ready to start sending Packets"},
        {X10_SEND_HEADER, "Sending Packet 3 of 11"},
        {X10_PREPARE_PACKET, "Sending Packet 3 of 11 - Packet Sent"},
        {X10_SEND_PACKET, "Sending Packet 3 of 11"},
        {X10_RESEND_PACKET, "before"},
        {X10_WAIT_ACK, "Sending Packet 3 of 11 - Waiting for ACK"},
        {X10_FINISH, "Finished file"},
        {X10_CANCELLED, "TAV has cancelled"},
        {X10_ERROR, "TAV Error"},
        {X10_SEND_LAST, "Ready to send last packet!!!"},
        {X10_DONE, "before"},
        {X10_MISMATCH, "Mismatched packets, please restart"},
        {X10_WAIT_PORTS, "Waiting for ports"},
        {X10_WAIT_TIMEOUT, "before"},
        {X10_TIMED_OUT, "before"},
        {static_cast<tX10State>(0), "before"},
        {static_cast<tX10State>(17), "before"},
    };
    for (const auto& [eState, szText] : aCases) {
        EXPECT_EQ(StateText(eState, 3, 11), szText) << eState;
    }
    EXPECT_EQ(StateText(X10_WAIT_ACK, 99999, 99999),
              "Sending Packet 99999 of 99999 - Waiting for ACK");
}

TEST(StatusTexts, each_handshake_has_its_text_or_keeps_the_one_before) {
    const std::tuple<uint8_t, uint8_t, const char*> aCases[] = {
        {0x00, 9, "No handshake received"},
        {0x7B, 9, "End Of File"},
        {0x7C, 9, "WAIT"},
        {0x7D, 4, "CANCEL"},
        {0x7E, 127, "NAK Received for packet 127"},
        {0x7F, 44, "ACK Received for packet 44"},
        {0xFF, 0, "TAV Refuses to speak to me :("},
        {0x7A, 0, "before"},
        {0x01, 0, "before"},
    };
    for (const auto& [ucHandShake, ucPacket, szText] : aCases) {
        EXPECT_EQ(HandShake(ucHandShake, ucPacket), szText) << int{ucHandShake};
    }
}

TEST(StatusTexts, cancel_reasons_1_to_6_have_texts_and_others_keep_the_handshake_text) {
    const std::pair<uint8_t, const char*> aCases[] = {
        {1, "File Length = 0 OR no \x91MIDI\x92 in file header."},
        {2, "Unable to locate a free Hash number for file."},
        {3, "File Open failed."},
        {4, "File Data checksum error."},
        {5, "Midi sees ( PARSER_HOSTLOCK != g_SongParserLOCK )"},
        {6, "DSP sees ( PARSER_MIDILOCK != g_SongParserLOCK )"},
        {0, "CANCEL"},
        {7, "CANCEL"},
        {255, "CANCEL"},
    };
    for (const auto& [ucReason, szText] : aCases) {
        char acBuffer[64] = "CANCEL";
        StatusTexts::CancelReason(ucReason, acBuffer, sizeof acBuffer);
        EXPECT_STREQ(acBuffer, szText) << int{ucReason};
    }
    char acReason[64] = "";
    StatusTexts::CancelReason(1, acReason, sizeof acReason);
    EXPECT_EQ(StatusTexts::ToUtf8(acReason),
              "File Length = 0 OR no \u2018MIDI\u2019 in file header.");
}

TEST(StatusTexts, texts_are_cut_to_the_buffer_and_always_terminated) {
    char acBuffer[8];
    std::memset(acBuffer, 'x', sizeof acBuffer);
    StatusTexts::StateText(X10_READY, 0, 0, acBuffer, 8);
    EXPECT_STREQ(acBuffer, "Ready t");
    char acTiny[1] = {'x'};
    StatusTexts::HandShakeText(0x7F, 1, acTiny, 1);
    EXPECT_EQ(acTiny[0], '\0');
    StatusTexts::StateText(X10_READY, 0, 0, nullptr, 0);  // nothing to write into
}

TEST(StatusTexts, the_port_text_shows_each_message_as_a_hex_paragraph) {
    const uint8_t aucReply[] = {0xF0, 0x7E, 0x42, 0x7F, 0x01, 0xF7};
    char acBuffer[1024];
    StatusTexts::PortText(aucReply, 6, acBuffer, sizeof acBuffer);
    EXPECT_STREQ(acBuffer, "\r\n\r\nF0 7E 42 7F 01 F7 ");

    const uint8_t aucMidway[] = {0x7F, 0x01, 0xF7, 0xF0, 0x7E};
    StatusTexts::PortText(aucMidway, 5, acBuffer, sizeof acBuffer);
    EXPECT_STREQ(acBuffer, "7F 01 F7 \r\n\r\nF0 7E ");

    std::strcpy(acBuffer, "old");
    StatusTexts::PortText(aucReply, 0, acBuffer, sizeof acBuffer);
    EXPECT_STREQ(acBuffer, "");
    std::strcpy(acBuffer, "old");
    StatusTexts::PortText(aucReply, 6, acBuffer, 30);  // not more than five times the batch
    EXPECT_STREQ(acBuffer, "");
    StatusTexts::PortText(aucReply, 6, acBuffer, 31);  // fits up to where the text would overrun
    EXPECT_STREQ(acBuffer, "\r\n\r\nF0 7E 42 7F 01 F7 ");
    const uint8_t aucStarts[] = {0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0};
    StatusTexts::PortText(aucStarts, 6, acBuffer, 31);  // stops before running past the end
    EXPECT_STREQ(acBuffer, "\r\n\r\nF0 \r\n\r\nF0 \r\n\r\nF0 \r\n\r\nF0 ");
}
