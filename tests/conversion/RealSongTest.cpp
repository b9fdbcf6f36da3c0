#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ConvertHelpers.h"
#include "conversion/SongConversion.h"
#include "conversion/TrackReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A format-1 song of Debian's openttd-openmsx package: 9 tracks that set up their channels
// at time 0, about 325 event bytes at that one instant once merged.
const std::filesystem::path kPackagedSong =
    "/usr/share/games/openttd/baseset/openmsx/mighty_giant_run.mid";

constexpr size_t kHeadersBytes = 22;

// The events of one instant that an x10 section may hold, each whole (status byte first).
struct tInstant {
    std::vector<Bytes> Events;
};

std::vector<tInstant> InstantsOf(const Bytes& Format0Song) {
    cTrackReader Reader;
    Reader.SetData(Format0Song.data() + kHeadersBytes,
                   static_cast<uint32_t>(Format0Song.size() - kHeadersBytes));
    std::vector<tInstant> Instants;
    tTrackEvent Event;
    while (Reader.ReadEvent(Event)) {
        if (Instants.empty() || Event.dwDeltaTime != 0) {
            Instants.emplace_back();
        }
        const uint8_t* pucData = Reader.Data();
        if (Event.Kind == cTrackReader::kSysexEvent) {
            Instants.back().Events.emplace_back(pucData + Event.BodyStart,
                                                pucData + Event.EndOffset);
        } else if (Event.Kind < cTrackReader::kSysexEvent) {
            Bytes Message{Event.Kind};
            Message.insert(Message.end(), pucData + Event.DataStart, pucData + Event.EndOffset);
            Instants.back().Events.push_back(Message);
        }
    }
    return Instants;
}

uint32_t ReadQuantity(const Bytes& Data, size_t& uiAt) {
    uint32_t dwValue = 0;
    while (Data.at(uiAt) & 0x80) {
        dwValue = (dwValue << 7) | (Data[uiAt++] & 0x7F);
    }
    return (dwValue << 7) | Data[uiAt++];
}

// The events of an x10 section, read as the device reads them: running status goes on from the
// last status byte in the file. Each must end inside the section.
std::vector<Bytes> SectionEvents(const Bytes& Section, uint8_t& ucRunningStatus) {
    std::vector<Bytes> Events;
    for (size_t i = 0; i < Section.size();) {
        Bytes Event;
        if (Section[i] == 0xF0) {
            size_t uiAt = i + 1;
            const uint32_t dwLength = ReadQuantity(Section, uiAt);
            Event.assign(Section.begin() + static_cast<long>(i),
                         Section.begin() + static_cast<long>(uiAt + dwLength));
            i = uiAt + dwLength;
        } else {
            if (Section[i] & 0x80) {
                ucRunningStatus = Section[i++];
            }
            const size_t uiData =
                (ucRunningStatus >> 4) == 0xC || (ucRunningStatus >> 4) == 0xD ? 1 : 2;
            Event.push_back(ucRunningStatus);
            Event.insert(Event.end(), Section.begin() + static_cast<long>(i),
                         Section.begin() + static_cast<long>(i + uiData));
            i += uiData;
        }
        EXPECT_LE(Event.size(), Section.size()) << "an event runs past its section";
        Events.push_back(Event);
    }
    return Events;
}

bool IsInOrderPartOf(const std::vector<Bytes>& Kept, const std::vector<Bytes>& All) {
    size_t uiAt = 0;
    for (const Bytes& Event : Kept) {
        while (uiAt < All.size() && All[uiAt] != Event) {
            ++uiAt;
        }
        if (uiAt++ >= All.size()) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(RealSong, a_packaged_multi_track_song_merged_keeps_whole_events_at_its_crowded_instant) {
    if (!std::filesystem::exists(kPackagedSong)) {
        if (const char* szCi = std::getenv("CI"); szCi != nullptr && std::string(szCi) == "true") {
            FAIL() << kPackagedSong << " is missing: apt-get install openttd-openmsx";
        }
        GTEST_SKIP() << kPackagedSong << " is missing: apt-get install openttd-openmsx";
    }
    TempDir Folder;
    tConversionOptions Options;
    Options.bMergeTracks = true;
    Options.X10FilePath = Folder / "song.midx10";
    const tSongConversion Result = ConvertSong(kPackagedSong, Options);
    ASSERT_TRUE(Result.bConverted) << Result.FailureText;
    EXPECT_EQ(Result.dwMergedTracks, 9u);
    EXPECT_TRUE(Result.bEventsRemoved);

    const std::vector<tInstant> Instants = InstantsOf(MergeSongFile(kPackagedSong).Song);
    const Bytes X10 = ReadAll(Options.X10FilePath);
    ASSERT_GT(X10.size(), kHeadersBytes);
    uint8_t ucRunningStatus = 0;
    size_t uiInstant = 0;
    size_t uiSections = 0;
    size_t uiFirstSectionBytes = 0;
    for (size_t i = kHeadersBytes; i + 1 < X10.size(); ++uiSections) {
        ReadQuantity(X10, i);
        const size_t uiCount = X10.at(i++);
        ASSERT_LE(i + uiCount, X10.size() - 1);
        const Bytes Section(X10.begin() + static_cast<long>(i),
                            X10.begin() + static_cast<long>(i + uiCount));
        i += uiCount;
        uiFirstSectionBytes = uiSections == 0 ? uiCount : uiFirstSectionBytes;
        const std::vector<Bytes> Kept = SectionEvents(Section, ucRunningStatus);
        while (uiInstant < Instants.size() && !IsInOrderPartOf(Kept, Instants[uiInstant].Events)) {
            ++uiInstant;
        }
        ASSERT_LT(uiInstant, Instants.size())
            << "section " << uiSections << " is not the events of an instant, in order";
        ++uiInstant;
    }
    EXPECT_EQ(X10.back(), 0x00);
    EXPECT_GE(uiFirstSectionBytes, 250u);  // the crowded instant is filled with whole events
    const auto uiSounding =
        std::count_if(Instants.begin(), Instants.end(),
                      [](const tInstant& Instant) { return !Instant.Events.empty(); });
    EXPECT_EQ(uiSections, static_cast<size_t>(uiSounding));  // no instant lost, none split
}
