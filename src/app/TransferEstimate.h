#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/TransferPlan.h"

// How long the pacing makes a transfer take, when every reply comes within one step: each data
// packet takes three steps (build, send, reply), each song eight more (ports, header, end of
// file), every step one time between packets. With handshakes every further song pauses first;
// blind, each song is followed by the steps that listen for a cancel. Paced on acknowledgement,
// the messages and their replies take what a MIDI cable carries (31250 baud, ten bits a byte)
// and only the steps around them (ports, header, closing) take a time between packets each.
// A device that answers late, or asks to wait, makes it longer.
struct tTransferEstimate {
    std::vector<int32_t> PacketTotals;  // per song of the plan: header, data packets, end of file;
                                        // 0 for a song that is skipped
    std::vector<uint32_t> SongBytes;    // per song of the plan: its x10 file's size
    int64_t iTotalMs = 0;
};

// What the times assume, for a line that gives them: "at MIDI cable speed", or empty.
inline constexpr const char* kAtCableSpeed = "at MIDI cable speed";
std::string EstimateBasis(const tTransferSettings& Settings);

tTransferEstimate EstimateTransfer(const tTransferPlan& Plan);
// The same for songs of these x10 sizes, in sending order; nothing for a song that is skipped.
tTransferEstimate EstimateSongs(const std::vector<std::optional<uint32_t>>& X10Sizes,
                                const tTransferSettings& Settings);
// Blind, the steps after a song's end-of-file message that cover the time between songs, while
// the device may still cancel it; 0 with handshakes.
uint32_t BlindListenSteps(const tTransferSettings& Settings);
int64_t EstimateSongMs(uint32_t uiSongBytes, const tTransferSettings& Settings);
// What is left once song iCurrentSong has iPacketsSent of its packets sent.
int64_t EstimateTimeLeftMs(const tTransferEstimate& Estimate, const tTransferSettings& Settings,
                           int32_t iCurrentSong, int32_t iPacketsSent);
// "0.4 s", "12 s", "3 min 5 s".
std::string DescribeDuration(int64_t iMilliseconds);
