#include <gtest/gtest.h>

#include <vector>

#include "ConvertHelpers.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kEndOfTrack{0x00, 0xFF, 0x2F, 0x00};

Bytes Track(std::initializer_list<Bytes> Events) {
    Bytes Data;
    for (const Bytes& Event : Events) {
        Data.insert(Data.end(), Event.begin(), Event.end());
    }
    return Data;
}

Bytes NoteOns(int iCount) {
    Bytes Data{0x00, 0x90, 0x3C, 0x64};
    for (int i = 1; i < iCount; ++i) {
        Data.insert(Data.end(), {0x00, 0x90, static_cast<uint8_t>(i & 0x7F), 0x64});
    }
    return Data;
}

// The bytes that NoteOns(iCount) leaves in a section: each note-on with its status byte.
Bytes NoteOnBytes(int iCount) {
    const Bytes Events = NoteOns(iCount);
    Bytes Kept;
    for (size_t i = 0; i < Events.size(); ++i) {
        if (i % 4 != 0) {  // every byte but the delta
            Kept.push_back(Events[i]);
        }
    }
    return Kept;
}

// A SysEx event of 256 file bytes, 480 ticks after the event before: one more than a section
// holds.
Bytes Sysex256After480() {
    Bytes Event{0x83, 0x60, 0xF0, 0x81, 0x7D};
    Event.resize(Event.size() + 252, 0x01);
    Event.push_back(0xF7);
    return Event;
}

Bytes Concat(std::initializer_list<Bytes> Parts) {
    return Track(Parts);
}

}  // namespace

TEST(SongConversion, the_35_byte_example_comes_out_byte_for_byte) {
    const tConverted Result = ConvertTrack(kExampleTrack);
    ASSERT_TRUE(Result.bConverted);
    EXPECT_EQ(Result.X10, kExampleX10);
    EXPECT_FALSE(Result.bEventsRemoved);
}

struct tSectionCase {
    const char* szWhat;
    Bytes Track;
    Bytes Sections;
    uint32_t InstantsWithEventsRemoved;
    uint16_t uiDivision;
};

TEST(SongConversion, tracks_become_the_expected_sections) {
    const Bytes kNoteOn{0x00, 0x90, 0x3C, 0x64};
    const Bytes kNoteOffAfter480{0x83, 0x60, 0x80, 0x3C, 0x40};
    const Bytes kNoteOffNow{0x00, 0x80, 0x3C, 0x40};
    const Bytes kNoteOnAfter480{0x83, 0x60, 0x90, 0x3C, 0x64};
    const Bytes kTempo1sAfter480{0x83, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40};
    // Sections after their delta, and the delta of 480 ticks at the starting tempo.
    const Bytes kNoteOnSection{0x03, 0x90, 0x3C, 0x64};
    const Bytes kNoteOffSection{0x03, 0x80, 0x3C, 0x40};
    const Bytes kHalfSecond{0x87, 0xD0, 0x47};
    const Bytes Kept255 = Concat({{0x00, 0xFF}, NoteOnBytes(85)});

    const tSectionCase aCases[] = {
        {"running status carries no status byte",
         Track({kNoteOn, {0x83, 0x60, 0x3C, 0x00}, kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, kHalfSecond, {0x02, 0x3C, 0x00}}), 0, 480},
        {"a tempo change measures the time up to it at the old tempo",
         Track({kNoteOn, kTempo1sAfter480, kNoteOffNow, kNoteOnAfter480, kEndOfTrack}),
         Concat({{0x00},
                 kNoteOnSection,
                 kHalfSecond,
                 kNoteOffSection,
                 {0x8F, 0xA1, 0x0F},
                 kNoteOnSection}),
         0, 480},
        {"a sysex at time 0 is written with its length quantity",
         Track({{0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}, kEndOfTrack}),
         {0x00, 0x07, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
         0,
         480},
        {"running status goes on across a text event and a sysex",
         Track({kNoteOn,
                {0x00, 0xFF, 0x01, 0x01, 0x41},
                {0x00, 0xF0, 0x02, 0x01, 0xF7},
                {0x00, 0x3E, 0x64},
                kEndOfTrack}),
         {0x00, 0x09, 0x90, 0x3C, 0x64, 0xF0, 0x02, 0x01, 0xF7, 0x3E, 0x64},
         0,
         480},
        {"a marker alone on its instant passes its time to the next section",
         Track({kNoteOn, {0x83, 0x60, 0xFF, 0x06, 0x01, 0x41}, kNoteOffAfter480, kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, {0x8F, 0xA1, 0x0E}, kNoteOffSection}), 0, 480},
        {"several silent instants in a row add up",
         Track({kNoteOn,
                {0x83, 0x60, 0xFF, 0x06, 0x01, 0x41},
                {0x83, 0x60, 0xFF, 0x05, 0x01, 0x42},
                kNoteOffAfter480,
                kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, {0x96, 0xF1, 0x55}, kNoteOffSection}), 0, 480},
        {"a tempo alone on its instant carries time at the old tempo, then the new one runs",
         Track({kNoteOn, kTempo1sAfter480, kNoteOffAfter480, kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, {0x96, 0xF1, 0x56}, kNoteOffSection}), 0, 480},
        {"split sysex parts and escape events are left out without a flag",
         Track({kNoteOn,
                {0x00, 0xF0, 0x03, 0x01, 0x02, 0x03},
                {0x00, 0xF7, 0x02, 0x04, 0xF7},
                kNoteOffAfter480,
                kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, kHalfSecond, kNoteOffSection}), 0, 480},
        {"a track without End of Track ends with its data", kNoteOn,
         Concat({{0x00}, kNoteOnSection}), 0, 480},
        {"255 event bytes at one instant fit the count byte", Track({NoteOns(85), kEndOfTrack}),
         Kept255, 0, 480},
        {"300 event bytes at one instant keep the first 255", Track({NoteOns(100), kEndOfTrack}),
         Kept255, 1, 480},
        {"each instant that loses bytes counts once, one that loses all of them too",
         Track({NoteOns(100), Sysex256After480(), kNoteOffAfter480, kEndOfTrack}),
         Concat({Kept255, {0x8F, 0xA1, 0x0E}, kNoteOffSection}), 2, 480},
        {"an event that does not fit is left out whole and later events that fit are kept",
         Track({NoteOns(83),
                {0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
                {0x00, 0xC0, 0x05},
                kEndOfTrack}),
         Concat({{0x00, 251}, NoteOnBytes(83), {0xC0, 0x05}}), 1, 480},
        {"running status after a left-out message gets its status byte back, counted in the fit",
         Track({NoteOns(83),
                {0x00, 0xC0, 0x05},
                {0x00, 0xC1, 0x05},
                {0x00, 0xB0, 0x07, 0x64},
                {0x00, 0x0A, 0x40},
                {0x83, 0x60, 0x07, 0x30},
                {0x00, 0x07, 0x20},
                kEndOfTrack}),
         Concat({{0x00, 253},
                 NoteOnBytes(83),
                 {0xC0, 0x05, 0xC1, 0x05},
                 {0x87, 0xD0, 0x47, 0x05, 0xB0, 0x07, 0x30, 0x07, 0x20}}),
         1, 480},
        {"two tempo changes at one instant time it at the tempo in force before it",
         Track({kNoteOn,
                kTempo1sAfter480,
                {0x00, 0xFF, 0x51, 0x03, 0x1E, 0x84, 0x80},
                kNoteOffNow,
                kNoteOnAfter480,
                kEndOfTrack}),
         Concat({{0x00},
                 kNoteOnSection,
                 kHalfSecond,
                 kNoteOffSection,
                 {0x9E, 0xC2, 0x1F},
                 kNoteOnSection}),
         0, 480},
        {"a first delta that is not 0 shows in the first section",
         Track({kNoteOnAfter480, kEndOfTrack}), Concat({kHalfSecond, kNoteOnSection}), 0, 480},
        {"time code division of 25 frames of 40 ticks counts milliseconds",
         Track({kNoteOn, kTempo1sAfter480, kNoteOffNow, kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, {0x87, 0xA9, 0x40}, kNoteOffSection}), 0, 0xE728},
        {"time code division of -29 runs at 29.97 frames",
         Track({kNoteOn, {0x87, 0x68, 0x80, 0x3C, 0x40}, kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, {0x86, 0xAE, 0x4E}, kNoteOffSection}), 0, 0xE350},
        {"a delta of 2^27 units at division 1 and tempo 4 is written in four bytes",
         Track({{0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x04},
                kNoteOn,
                {0xC0, 0x80, 0x80, 0x00, 0x80, 0x3C, 0x40},
                kEndOfTrack}),
         Concat({{0x00}, kNoteOnSection, {0xC0, 0x80, 0x80, 0x00}, kNoteOffSection}), 0, 1},
    };
    for (const tSectionCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        const tConverted Result = ConvertTrack(Case.Track, Case.uiDivision);
        ASSERT_TRUE(Result.bConverted) << "failure " << int{Result.eFailure};
        EXPECT_EQ(Sections(Result.X10), Case.Sections);
        EXPECT_EQ(Result.X10.back(), 0x00);
        EXPECT_EQ(Result.InstantsWithEventsRemoved, Case.InstantsWithEventsRemoved);
        EXPECT_EQ(Result.bEventsRemoved, Case.InstantsWithEventsRemoved > 0);
    }
}

struct tDeltaCase {
    uint16_t uiDivision;
    uint32_t dwTempo;
    uint32_t dwTicks;
    uint32_t dwUnits;
};

// Reads back the delta of the second section of an x10 file.
uint32_t SecondSectionDelta(const Bytes& X10) {
    const Bytes All = Sections(X10);
    size_t i = 2 + All[1];
    uint32_t dwValue = 0;
    while (true) {
        dwValue = (dwValue << 7) | (All[i] & 0x7F);
        if ((All[i++] & 0x80) == 0) {
            return dwValue;
        }
    }
}

TEST(SongConversion, delta_times_follow_the_worked_values_to_the_unit) {
    const tDeltaCase aCases[] = {
        {480, 500000, 480, 124999},  {480, 500000, 120, 31249}, {480, 500000, 1, 260},
        {480, 500000, 960, 249999},  {96, 500000, 96, 125000},  {480, 600000, 240, 75000},
        {480, 1000000, 480, 249999},
    };
    for (const tDeltaCase& Case : aCases) {
        SCOPED_TRACE(testing::Message()
                     << Case.uiDivision << " " << Case.dwTempo << " " << Case.dwTicks);
        cSmfBuilder Song(Case.uiDivision);
        Song.Tempo(0, Case.dwTempo).NoteOn(0, 0, 60, 100).NoteOff(Case.dwTicks, 0, 60).EndOfTrack();
        const tConverted Result = ConvertBytes(Song.File());
        ASSERT_TRUE(Result.bConverted);
        EXPECT_EQ(SecondSectionDelta(Result.X10), Case.dwUnits);
    }
}

TEST(SongConversion, the_quantity_writer_covers_the_values_up_to_2_to_the_28) {
    const std::pair<uint32_t, Bytes> aCases[] = {
        {0, {0x00}},
        {0x7F, {0x7F}},
        {0x80, {0x81, 0x00}},
        {0x3FFF, {0xFF, 0x7F}},
        {0x4000, {0x81, 0x80, 0x00}},
        {124999, {0x87, 0xD0, 0x47}},
        {268435455, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& [dwValue, Expected] : aCases) {
        uint8_t aucTarget[4] = {};
        const int iWritten = VantorMidiFile::WriteVarLen(aucTarget, dwValue);
        EXPECT_EQ(Bytes(aucTarget, aucTarget + iWritten), Expected) << dwValue;
    }
}

TEST(SongConversion, a_real_shaped_song_keeps_its_event_bytes_and_total_time) {
    // Tempo map, a reset SysEx, lyrics on their own instants and running status.
    cSmfBuilder Song(480);
    Song.Text(0, 0x03, "Song").Tempo(0, 500000).Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    Song.ProgramChange(0, 0, 5);
    for (int iBar = 0; iBar < 8; ++iBar) {
        Song.Text(iBar == 0 ? 0 : 240, 0x05, "la");
        Song.NoteOn(240, 0, 60, 100).Event(0, {64, 100}).Event(480, {60, 0}).Event(0, {64, 0});
        if (iBar == 3) {
            Song.Tempo(0, 750000);
        }
    }
    Song.EndOfTrack();
    const tConverted Result = ConvertBytes(Song.File());
    ASSERT_TRUE(Result.bConverted);
    const Bytes All = Sections(Result.X10);
    uint64_t qwTotalUnits = 0;
    size_t uiEventBytes = 0;
    for (size_t i = 0; i < All.size();) {
        uint32_t dwDelta = 0;
        while (All[i] & 0x80) {
            dwDelta = (dwDelta << 7) | (All[i++] & 0x7F);
        }
        dwDelta = (dwDelta << 7) | All[i++];
        qwTotalUnits += dwDelta;
        uiEventBytes += All[i];
        i += 1 + All[i];
    }
    // 3600 ticks at 500000 (the first bar is 720 long, the next three 960), then 3840 ticks
    // at 750000; each section may lose less than one unit to truncation.
    const double dExpectedUnits = (3600 * 500000.0 + 3840 * 750000.0) / 480 / 4;
    EXPECT_NEAR(static_cast<double>(qwTotalUnits), dExpectedUnits, 32.0);
    EXPECT_EQ(uiEventBytes, 7u + 2u + 8u * 9u);
}
