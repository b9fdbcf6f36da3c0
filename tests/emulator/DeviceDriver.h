#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "FileDumpEncoder.h"
#include "StoringIn.h"
#include "TempDir.h"
#include "emulator/FaultStorm.h"
#include "emulator/HexText.h"
#include "emulator/TavDevice.h"

// Plays the sender's part against the device, as a handshaking loader would, reading the
// replies apart from the device code (as FileDumpEncoder.h writes the messages): it sends the
// messages in order, sends a message again after a NAK, and stops after a CANCEL. Each reply is
// written down as "ACK 3", with " +200ms" when it is delayed; anything but a handshake as its
// bytes ("bytes 12 9A").
struct tTranscript {
    std::vector<std::string> Replies;
    std::vector<std::string> Lines;
};

inline std::string DescribeReply(const tDeviceReply& Reply) {
    const std::vector<uint8_t>& Bytes = Reply.Message;
    if (Bytes.size() != 6 || Bytes[0] != 0xF0 || Bytes[1] != 0x7E || Bytes[5] != 0xF7) {
        return "bytes " + HexExcerpt(Bytes);
    }
    std::string Text;
    switch (Bytes[3]) {
        case 0x7F:
            Text = "ACK ";
            break;
        case 0x7E:
            Text = "NAK ";
            break;
        case 0x7D:
            Text = "CANCEL ";
            break;
        case 0x7C:
            Text = "WAIT ";
            break;
        case 0x7B:
            Text = "EOF ";
            break;
        default:
            Text = "handshake " + std::to_string(Bytes[3]) + " ";
            break;
    }
    Text += std::to_string(Bytes[4]);
    if (Reply.DelayMs != 0) {
        Text += " +" + std::to_string(Reply.DelayMs) + "ms";
    }
    return Text;
}

inline void Record(const tDeviceResponse& Response, tTranscript& Transcript) {
    for (const tDeviceReply& Reply : Response.Replies) {
        Transcript.Replies.push_back(DescribeReply(Reply));
    }
    Transcript.Lines.insert(Transcript.Lines.end(), Response.ReportLines.begin(),
                            Response.ReportLines.end());
}

inline tTranscript Deliver(cTavDevice& Device, const std::vector<FileDump::Bytes>& Messages,
                           bool bHandshaking = true) {
    constexpr int kMaxSendsOfOneMessage = 4;
    tTranscript Transcript;
    for (const FileDump::Bytes& Message : Messages) {
        for (int iSend = 0; iSend < kMaxSendsOfOneMessage; ++iSend) {
            const size_t uiBefore = Transcript.Replies.size();
            Record(Device.ReceiveMessage(Message.data(), Message.size()), Transcript);
            const bool bAnswered = Transcript.Replies.size() > uiBefore;
            const std::string Last = bAnswered ? Transcript.Replies.back() : std::string();
            if (bHandshaking && Last.rfind("CANCEL", 0) == 0) {
                return Transcript;
            }
            if (!bHandshaking || Last.rfind("NAK", 0) != 0) {
                break;
            }
        }
    }
    return Transcript;
}

// What sending a whole song "SONG" brings: the replies the sender hears, the song's report line
// after "file \"SONG\": ", and whether the song is stored.
struct tSongOutcome {
    std::vector<std::string> Replies;
    std::string Verdict;
    bool bStored;
};

// Sends File whole as "SONG" to a device that stores in Folder and checks the outcome: a stored
// song byte for byte.
inline void ExpectWholeSong(cTavDevice& Device, const TempDir& Folder, const FileDump::Bytes& File,
                            const tSongOutcome& Expected) {
    const tTranscript Transcript = Deliver(Device, FileDump::WholeFile("SONG", File));
    EXPECT_EQ(Transcript.Replies, Expected.Replies);
    EXPECT_EQ(Transcript.Lines, std::vector<std::string>{"file \"SONG\": " + Expected.Verdict});
    EXPECT_EQ(std::filesystem::exists(Folder / "SONG.x10"), Expected.bStored);
    if (Expected.bStored) {
        EXPECT_EQ(ReadAll(Folder / "SONG.x10"), File);
    }
}

// A song of uiFileSize bytes sent whole against a device with these options and this fault
// script (by the number of the message the storm is asked about; none: no storm).
struct tFaultCase {
    const char* szWhat;
    tTavDeviceOptions Options;
    size_t uiFileSize;
    tSongOutcome Expected;
    std::map<uint64_t, tFaultKind> Script = {};
};

inline void ExpectFaultCases(std::span<const tFaultCase> Cases) {
    for (const tFaultCase& Case : Cases) {
        SCOPED_TRACE(Case.szWhat);
        TempDir Folder;
        cTavDevice Device(StoringIn(Folder, Case.Options), cFaultStorm::Scripted(Case.Script));
        ExpectWholeSong(Device, Folder, FileDump::SongBytes(Case.uiFileSize), Case.Expected);
    }
}
