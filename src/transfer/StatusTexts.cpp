#include "transfer/StatusTexts.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "midi/SysexBytes.h"

namespace StatusTexts {

namespace {

void Copy(const std::string& Text, char* szBuffer, int32_t iBufSize) {
    if (szBuffer == nullptr || iBufSize <= 0) {
        return;
    }
    const size_t uiLength = Text.size() < static_cast<size_t>(iBufSize - 1)
                                ? Text.size()
                                : static_cast<size_t>(iBufSize - 1);
    std::memcpy(szBuffer, Text.data(), uiLength);
    szBuffer[uiLength] = '\0';
}

std::string Sending(int32_t iPacketsSent, int32_t iPacketTotal) {
    return "Sending Packet " + std::to_string(iPacketsSent) + " of " + std::to_string(iPacketTotal);
}

}  // namespace

void StateText(tX10State eState, int32_t iPacketsSent, int32_t iPacketTotal, char* szBuffer,
               int32_t iBufSize) {
    switch (eState) {
        case X10_PORT_CLOSED:
            return Copy("Port is closed", szBuffer, iBufSize);
        case X10_READY:
            return Copy("Ready to start sending Packets", szBuffer, iBufSize);
        case X10_SEND_HEADER:
        case X10_SEND_PACKET:
            return Copy(Sending(iPacketsSent, iPacketTotal), szBuffer, iBufSize);
        case X10_PREPARE_PACKET:
            return Copy(Sending(iPacketsSent, iPacketTotal) + " - Packet Sent", szBuffer, iBufSize);
        case X10_WAIT_ACK:
            return Copy(Sending(iPacketsSent, iPacketTotal) + " - Waiting for ACK", szBuffer,
                        iBufSize);
        case X10_FINISH:
            return Copy("Finished file", szBuffer, iBufSize);
        case X10_CANCELLED:
            return Copy("TAV has cancelled", szBuffer, iBufSize);
        case X10_ERROR:
            return Copy("TAV Error", szBuffer, iBufSize);
        case X10_SEND_LAST:
            return Copy("Ready to send last packet!!!", szBuffer, iBufSize);
        case X10_MISMATCH:
            return Copy("Mismatched packets, please restart", szBuffer, iBufSize);
        case X10_WAIT_PORTS:
            return Copy("Waiting for ports", szBuffer, iBufSize);
        case X10_RESEND_PACKET:
        case X10_DONE:
        case X10_WAIT_TIMEOUT:
        case X10_TIMED_OUT:
            break;
    }
}

void HandShakeText(uint8_t ucHandShake, uint8_t ucPacketNum, char* szBuffer, int32_t iBufSize) {
    switch (ucHandShake) {
        case kNoHandshakeYet:
            return Copy("No handshake received", szBuffer, iBufSize);
        case HANDSHAKE_EOF:
            return Copy("End Of File", szBuffer, iBufSize);
        case HANDSHAKE_WAIT:
            return Copy("WAIT", szBuffer, iBufSize);
        case HANDSHAKE_CANCEL:
            return Copy("CANCEL", szBuffer, iBufSize);
        case HANDSHAKE_NAK:
            return Copy("NAK Received for packet " + std::to_string(ucPacketNum), szBuffer,
                        iBufSize);
        case HANDSHAKE_ACK:
            return Copy("ACK Received for packet " + std::to_string(ucPacketNum), szBuffer,
                        iBufSize);
        case kRefusingHandshake:
            return Copy("TAV Refuses to speak to me :(", szBuffer, iBufSize);
        default:
            break;
    }
}

void CancelReason(uint8_t ucReason, char* szBuffer, int32_t iBufSize) {
    static const char* const kReasons[] = {
        "File Length = 0 OR no \x91MIDI\x92 in file header.",
        "Unable to locate a free Hash number for file.",
        "File Open failed.",
        "File Data checksum error.",
        "Midi sees ( PARSER_HOSTLOCK != g_SongParserLOCK )",
        "DSP sees ( PARSER_MIDILOCK != g_SongParserLOCK )",
    };
    if (ucReason >= 1 && ucReason <= std::size(kReasons)) {
        Copy(kReasons[ucReason - 1], szBuffer, iBufSize);
    }
}

void PortText(const uint8_t* pucData, uint32_t uiDataSize, char* szBuffer, int32_t iBufSize) {
    if (szBuffer == nullptr || iBufSize <= 0) {
        return;
    }
    std::memset(szBuffer, 0, static_cast<size_t>(iBufSize));
    if (static_cast<uint64_t>(iBufSize) <= 5 * uint64_t{uiDataSize}) {
        return;
    }
    size_t uiUsed = 0;
    for (uint32_t i = 0; i < uiDataSize; ++i) {
        char acPiece[16];
        const int iLength =
            std::snprintf(acPiece, sizeof acPiece,
                          pucData[i] == kSysexStart ? "\r\n\r\n%02X " : "%02X ", pucData[i]);
        if (uiUsed + static_cast<size_t>(iLength) + 1 > static_cast<size_t>(iBufSize)) {
            return;
        }
        std::memcpy(szBuffer + uiUsed, acPiece, static_cast<size_t>(iLength));
        uiUsed += static_cast<size_t>(iLength);
    }
}

std::string ToUtf8(const char* szText) {
    std::string Text;
    for (const char* p = szText; *p != '\0'; ++p) {
        const auto ucByte = static_cast<unsigned char>(*p);
        if (ucByte == 0x91) {
            Text += "\u2018";
        } else if (ucByte == 0x92) {
            Text += "\u2019";
        } else if (ucByte < 0x80) {
            Text.push_back(*p);
        } else {
            Text += "\uFFFD";
        }
    }
    return Text;
}

}  // namespace StatusTexts
