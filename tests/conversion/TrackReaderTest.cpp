#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "conversion/BigEndian.h"
#include "conversion/MidiHeader.h"
#include "conversion/MtrkHeader.h"

namespace {

void LoadTrack(tMtrkHeader& Track, const std::vector<uint8_t>& Data) {
    uint8_t* pucChunk = Track.PtrToMtrkStruct();
    std::memcpy(pucChunk, "MTrk", 4);
    WriteBigEndian32(pucChunk + 4, static_cast<uint32_t>(Data.size()));
    ASSERT_TRUE(Track.AllocBuf());
    std::memcpy(Track.PtrToDataBuf(), Data.data(), Data.size());
}

std::vector<uint8_t> MetaWithLength(uint8_t ucType, uint32_t dwLength) {
    std::vector<uint8_t> Event{0x00, 0xFF, ucType};
    if (dwLength >= 128) {
        Event.push_back(static_cast<uint8_t>(0x80 | (dwLength >> 7)));
    }
    Event.push_back(static_cast<uint8_t>(dwLength & 0x7F));
    Event.insert(Event.end(), dwLength, 0x41);
    return Event;
}

}  // namespace

TEST(TrackReader, a_track_that_starts_with_end_of_track_ends_at_once) {
    tMtrkHeader Track;
    LoadTrack(Track, {0x00, 0xFF, 0x2F, 0x00});
    EXPECT_FALSE(Track.ReadEvent());
    EXPECT_FALSE(Track.GetMetaTooLong());
    EXPECT_EQ(Track.GetFault(), TRACK_OK);
}

TEST(TrackReader, running_status_across_meta_and_sysex_keeps_the_last_channel_status) {
    tMtrkHeader Track;
    LoadTrack(Track, {0x00, 0x93, 0x3C, 0x64, 0x10, 0xFF, 0x01, 0x01, 0x41, 0x00, 0xF0, 0x02, 0x01,
                      0xF7, 0x05, 0x3E, 0x50});
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_FALSE(Track.GetIsRunningStatus());
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetMtrkEvent(), 0xFF);
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetMtrkEvent(), 0xF0);
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetDeltaTime(), 5u);
    EXPECT_EQ(Track.GetMtrkEvent(), 0x93);
    EXPECT_TRUE(Track.GetIsRunningStatus());
    EXPECT_EQ(Track.GetEventLength(eMIDIEvent), 2u);
    const uint8_t* pucData = Track.GetEventDataOnly(eMIDIEvent);
    EXPECT_EQ(pucData[0], 0x3E);
    EXPECT_EQ(pucData[1], 0x50);
    // The whole message, status first, is still at hand.
    EXPECT_EQ(Track.GetEventPtr(eMIDIEvent)[0], 0x93);
    EXPECT_FALSE(Track.ReadEvent());  // clean end of data counts as End of Track
    EXPECT_EQ(Track.GetFault(), TRACK_OK);
}

TEST(TrackReader, a_running_status_program_change_reads_one_data_byte) {
    tMtrkHeader Track;
    LoadTrack(Track, {0x00, 0xC2, 0x05, 0x00, 0x07, 0x00, 0x92, 0x3C, 0x64});
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetEventLength(eMIDIEvent), 2u);
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_TRUE(Track.GetIsRunningStatus());
    EXPECT_EQ(Track.GetEventLength(eMIDIEvent), 1u);
    EXPECT_EQ(Track.GetEventDataOnly(eMIDIEvent)[0], 0x07);
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetMtrkEvent(), 0x92);
}

struct tTempoCase {
    std::vector<uint8_t> Data;
    uint32_t dwTempo;
};

TEST(TrackReader, set_tempo_reads_its_data_as_one_big_endian_number) {
    const tTempoCase aCases[] = {
        {{0x07, 0xA1, 0x20}, 500000},
        {{0x01, 0x02, 0x03, 0x04}, 0x01020304},
        {{}, 0},
        {{0x0F, 0x42, 0x40}, 1000000},
    };
    std::vector<uint8_t> Data;
    for (const tTempoCase& Case : aCases) {
        Data.insert(Data.end(), {0x00, 0xFF, 0x51, static_cast<uint8_t>(Case.Data.size())});
        Data.insert(Data.end(), Case.Data.begin(), Case.Data.end());
    }
    tMtrkHeader Track;
    LoadTrack(Track, Data);
    uint32_t dwExpectedPrevious = tMtrkHeader::kStartTempo;
    for (const tTempoCase& Case : aCases) {
        ASSERT_TRUE(Track.ReadEvent());
        EXPECT_EQ(Track.GetTempo(), Case.dwTempo);
        EXPECT_EQ(Track.GetPreviousTempo(), dwExpectedPrevious);
        dwExpectedPrevious = Case.dwTempo;
    }
}

TEST(TrackReader, a_meta_event_of_255_bytes_is_read_and_one_of_256_ends_the_walk) {
    tMtrkHeader Track;
    std::vector<uint8_t> Data = MetaWithLength(0x01, 255);
    const std::vector<uint8_t> TooLong = MetaWithLength(0x01, 256);
    Data.insert(Data.end(), TooLong.begin(), TooLong.end());
    LoadTrack(Track, Data);
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_FALSE(Track.ReadEvent());
    EXPECT_TRUE(Track.GetMetaTooLong());
    EXPECT_EQ(Track.GetFault(), TRACK_META_TOO_LONG);
    EXPECT_EQ(Track.GetFaultOffset(), 260u);  // after the 5 + 255 bytes of the first
}

std::vector<uint8_t> SysexOfFileBytes(uint32_t dwFileBytes) {
    // 0xF0, a two-byte length quantity, then the data closed by 0xF7.
    const uint32_t dwLength = dwFileBytes - 3;
    std::vector<uint8_t> Event{0x00, 0xF0, static_cast<uint8_t>(0x80 | (dwLength >> 7)),
                               static_cast<uint8_t>(dwLength & 0x7F)};
    Event.insert(Event.end(), dwLength - 1, 0x11);
    Event.push_back(0xF7);
    return Event;
}

TEST(TrackReader, a_sysex_of_256_file_bytes_is_kept_whole_and_one_of_257_is_left_out) {
    std::vector<uint8_t> Data = SysexOfFileBytes(256);
    const std::vector<uint8_t> TooLong = SysexOfFileBytes(257);
    Data.insert(Data.end(), TooLong.begin(), TooLong.end());
    Data.insert(Data.end(), {0x00, 0x90, 0x3C, 0x64});
    tMtrkHeader Track;
    LoadTrack(Track, Data);
    ASSERT_TRUE(Track.ReadEvent());
    ASSERT_EQ(Track.GetEventLength(eSysexEvent), 256u);
    EXPECT_EQ(0, std::memcmp(Track.GetEventPtr(eSysexEvent), Data.data() + 1, 256));
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetMtrkEvent(), 0xF0);
    EXPECT_EQ(Track.GetEventLength(eSysexEvent), 0u);
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetMtrkEvent(), 0x90);
}

TEST(TrackReader, split_sysex_and_escape_events_are_read_past_by_their_length) {
    tMtrkHeader Track;
    LoadTrack(Track, {0x00, 0xF0, 0x03, 0x01, 0xF7, 0x02, 0x00, 0xF7, 0x02, 0x03, 0xF7, 0x00, 0x80,
                      0x3C, 0x40});
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetEventLength(eSysexEvent), 0u);  // its data ends in 0x02, not 0xF7
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetMtrkEvent(), 0xF7);
    EXPECT_EQ(Track.GetEventLength(eSysexEvent), 0u);
    ASSERT_TRUE(Track.ReadEvent());
    EXPECT_EQ(Track.GetMtrkEvent(), 0x80);
}

struct tMalformedTrack {
    const char* szWhat;
    std::vector<uint8_t> Data;
    tTrackFault eFault;
    uint32_t dwOffset;
};

TEST(TrackReader, malformed_tracks_stop_the_walk_with_the_reason_and_never_read_past_the_data) {
    const tMalformedTrack aCases[] = {
        {"delta only", {0x00}, TRACK_EVENT_CUT_OFF, 0},
        {"delta quantity cut off", {0x81}, TRACK_EVENT_CUT_OFF, 0},
        {"note without velocity", {0x00, 0x90, 0x3C}, TRACK_EVENT_CUT_OFF, 0},
        {"second event cut off", {0x00, 0x90, 0x3C, 0x64, 0x00, 0xC0}, TRACK_EVENT_CUT_OFF, 4},
        {"five-byte delta",
         {0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3C, 0x64},
         TRACK_QUANTITY_TOO_LONG,
         0},
        {"meta length of five bytes",
         {0x00, 0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x01},
         TRACK_QUANTITY_TOO_LONG,
         0},
        {"data byte first", {0x00, 0x3C, 0x64}, TRACK_NO_RUNNING_STATUS, 0},
        {"data byte after meta only",
         {0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x64},
         TRACK_NO_RUNNING_STATUS,
         4},
        {"song position kind", {0x00, 0xF2, 0x00, 0x00}, TRACK_BAD_EVENT_KIND, 0},
        {"tune request kind", {0x00, 0xF6}, TRACK_BAD_EVENT_KIND, 0},
        {"clock kind", {0x00, 0xF8}, TRACK_BAD_EVENT_KIND, 0},
        {"active sensing kind", {0x00, 0xFE}, TRACK_BAD_EVENT_KIND, 0},
        {"meta type missing", {0x00, 0xFF}, TRACK_EVENT_CUT_OFF, 0},
        {"meta data cut off", {0x00, 0xFF, 0x01, 0x05, 0x41}, TRACK_EVENT_CUT_OFF, 0},
        {"meta length too long even though cut off",
         {0x00, 0xFF, 0x01, 0x82, 0x00},
         TRACK_META_TOO_LONG,
         0},
        {"sysex data cut off", {0x00, 0xF0, 0x05, 0x01, 0xF7}, TRACK_EVENT_CUT_OFF, 0},
        {"sysex length missing", {0x00, 0xF0}, TRACK_EVENT_CUT_OFF, 0},
        {"escape data cut off", {0x00, 0xF7, 0x03, 0x01}, TRACK_EVENT_CUT_OFF, 0},
        {"huge sysex length", {0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0xF7}, TRACK_EVENT_CUT_OFF, 0},
    };
    for (const tMalformedTrack& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        tMtrkHeader Track;
        LoadTrack(Track, Case.Data);
        int iEvents = 0;
        while (Track.ReadEvent() && iEvents < 10) {
            ++iEvents;
        }
        EXPECT_EQ(Track.GetFault(), Case.eFault);
        EXPECT_EQ(Track.GetFaultOffset(), Case.dwOffset);
        EXPECT_FALSE(Track.ReadEvent());  // a stopped walk stays stopped
    }
}

TEST(MidiHeader, reads_its_big_endian_fields_and_rewrites_the_format) {
    tMidiHeader Header;
    const uint8_t aucBytes[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0};
    std::memcpy(Header.PtrToHeaderStruct(), aucBytes, sizeof aucBytes);
    EXPECT_TRUE(Header.IsMThd());
    EXPECT_EQ(Header.ReturnLen(), 6u);
    EXPECT_EQ(Header.ReturnMidiFileType(), 1u);
    EXPECT_EQ(Header.GetDiv(), 480u);
    EXPECT_TRUE(Header.ChangeFormatField(0x1234));
    EXPECT_EQ(Header.ReturnMidiFileType(), 0x1234u);
    EXPECT_EQ(Header.PtrToHeaderStruct()[8], 0x12);
    EXPECT_EQ(Header.GetDiv(), 480u);  // neighbours untouched
}
