#include "conversion/TrackMerger.h"

#include <algorithm>
#include <queue>

#include "conversion/BigEndian.h"
#include "conversion/MidiHeader.h"
#include "conversion/Quantity.h"
#include "conversion/TrackChunks.h"
#include "conversion/TrackReader.h"

namespace {

// One track being walked: the event it offers next and the absolute time of that event.
struct tTrackCursor {
    cTrackReader Reader;
    tTrackEvent Event;
    uint64_t Time = 0;
    bool HasEvent = false;
};

class cTrackMerger {
  public:
    explicit cTrackMerger(std::span<const uint8_t> Song) : Song(Song) {}
    tMergedSong Merge();

  private:
    bool Refuse(tConversionFailure eWhy, std::string Text);
    bool RefuseInTrack(uint32_t dwTrack, tConversionFailure eWhy, const std::string& Text);
    bool MergeFormat1(const tMidiHeader& Header);
    bool StartTracks(const tTrackChunks& Chunks);
    bool Advance(uint32_t dwTrack);
    bool MergeEvents();
    bool WriteDelta(uint64_t qwTime);
    void WriteEvent(const tTrackCursor& Cursor);
    void AppendQuantity(uint32_t dwValue);
    void AppendBytes(const uint8_t* pucBytes, uint32_t dwCount);
    void WriteHeaders(uint32_t dwDivision);
    void CloseTrack();

    std::span<const uint8_t> Song;
    tMergedSong Result;
    std::vector<tTrackCursor> Cursors;
    uint64_t LastTime = 0;
    uint64_t EndTime = 0;
    uint32_t EventsWritten = 0;
};

struct tLaterFirst {
    const std::vector<tTrackCursor>* Cursors;
    // The queue yields its greatest element: make that the earliest time, then the lowest track.
    bool operator()(uint32_t dwA, uint32_t dwB) const {
        const uint64_t qwA = (*Cursors)[dwA].Time;
        const uint64_t qwB = (*Cursors)[dwB].Time;
        return qwA != qwB ? qwA > qwB : dwA > dwB;
    }
};

bool cTrackMerger::Refuse(tConversionFailure eWhy, std::string Text) {
    Result.eFailure = eWhy;
    Result.FailureText = std::move(Text);
    return false;
}

bool cTrackMerger::RefuseInTrack(uint32_t dwTrack, tConversionFailure eWhy,
                                 const std::string& Text) {
    return Refuse(eWhy, "track " + std::to_string(dwTrack + 1) + " of " +
                            std::to_string(Cursors.size()) + ": " + Text);
}

tMergedSong cTrackMerger::Merge() {
    const tSongHeader Head = ReadSongHeader(Song);
    const uint32_t dwFormat = Head.Header.ReturnMidiFileType();
    if (Head.Failure != CONV_NONE) {
        Refuse(Head.Failure, Head.FailureText);
    } else if (dwFormat == 0) {
        Result.Song.assign(Song.begin(), Song.end());
        Result.Merged = true;
    } else if (dwFormat == kMergeableFormat) {
        Result.Merged = MergeFormat1(Head.Header);
    } else if (dwFormat == kIndependentSequencesFormat) {
        Refuse(CONV_FORMAT_2,
               "a format-2 song holds independent sequences, which cannot be "
               "merged into one track");
    } else {
        Refuse(CONV_UNKNOWN_FORMAT, "the song is of format " + std::to_string(dwFormat) +
                                        "; only formats 0 and 1 can be converted");
    }
    if (!Result.Merged) {
        Result.Song.clear();
    }
    return Result;
}

bool cTrackMerger::MergeFormat1(const tMidiHeader& Header) {
    const uint32_t dwTracks = Header.ReturnNumTracks();
    const tTrackChunks Chunks = FindTrackChunks(Song, dwTracks);
    if (Chunks.eFailure == CONV_TRACK_CUT_OFF) {
        return Refuse(Chunks.eFailure, "track " + std::to_string(Chunks.Tracks.size() + 1) +
                                           " of " + std::to_string(dwTracks) + ": " +
                                           Chunks.FailureText);
    }
    if (Chunks.eFailure != CONV_NONE) {
        return Refuse(Chunks.eFailure, Chunks.FailureText);
    }
    if (Chunks.Tracks.size() < dwTracks) {
        return Refuse(CONV_MISSING_TRACKS, "the header names " + std::to_string(dwTracks) +
                                               " tracks but the file holds only " +
                                               std::to_string(Chunks.Tracks.size()));
    }
    Result.Song.reserve(Song.size() + Song.size() / 2);
    WriteHeaders(Header.GetDiv());
    if (!StartTracks(Chunks) || !MergeEvents()) {
        return false;
    }
    // As a format-0 song whose first event is End of Track, a song with nothing to play.
    if (EventsWritten == 0) {
        return Refuse(CONV_EMPTY_TRACK,
                      dwTracks == 0 ? "the header names 0 tracks, so the song holds no events"
                                    : "no track holds an event before its End of Track");
    }
    CloseTrack();
    Result.TrackCount = dwTracks;
    return true;
}

bool cTrackMerger::StartTracks(const tTrackChunks& Chunks) {
    Cursors.resize(Chunks.Tracks.size());
    for (uint32_t i = 0; i < Cursors.size(); ++i) {
        const tTrackChunk& Chunk = Chunks.Tracks[i];
        Cursors[i].Reader.SetData(Song.data() + Chunk.ChunkStart + kChunkHeaderBytes,
                                  Chunk.DataLength);
        if (!Advance(i)) {
            return false;
        }
    }
    return true;
}

// Takes the next event of a track. At its end the track gives its end time: that of its End of
// Track, or of its last event when the data ends without one.
bool cTrackMerger::Advance(uint32_t dwTrack) {
    tTrackCursor& Cursor = Cursors[dwTrack];
    Cursor.HasEvent = Cursor.Reader.ReadEvent(Cursor.Event);
    if (Cursor.HasEvent) {
        Cursor.Time += Cursor.Event.dwDeltaTime;
        return true;
    }
    const cTrackReader& Reader = Cursor.Reader;
    if (Reader.GetFault() != TRACK_OK) {
        return RefuseInTrack(
            dwTrack, ConversionFailureOf(Reader.GetFault()),
            TrackFaultText(Reader.GetFault(), Reader.GetFaultOffset(), Reader.GetFaultByte()));
    }
    if (Reader.EndedAtEndOfTrack()) {
        Cursor.Time += Cursor.Event.dwDeltaTime;
    }
    EndTime = std::max(EndTime, Cursor.Time);
    return true;
}

bool cTrackMerger::MergeEvents() {
    std::priority_queue<uint32_t, std::vector<uint32_t>, tLaterFirst> Pending(
        tLaterFirst{&Cursors});
    for (uint32_t i = 0; i < Cursors.size(); ++i) {
        if (Cursors[i].HasEvent) {
            Pending.push(i);
        }
    }
    const tLaterFirst Later{&Cursors};
    while (!Pending.empty()) {
        const uint32_t dwTrack = Pending.top();
        Pending.pop();
        // A track goes on as long as its next event still comes first, as in a chord.
        do {
            if (!WriteDelta(Cursors[dwTrack].Time)) {
                return false;
            }
            WriteEvent(Cursors[dwTrack]);
            if (!Advance(dwTrack)) {
                return false;
            }
        } while (Cursors[dwTrack].HasEvent && (Pending.empty() || !Later(dwTrack, Pending.top())));
        if (Cursors[dwTrack].HasEvent) {
            Pending.push(dwTrack);
        }
    }
    // The one End of Track, at the latest time at which any track ended.
    if (!WriteDelta(EndTime)) {
        return false;
    }
    const uint8_t aucEndOfTrack[] = {cTrackReader::kMetaEvent, cTrackReader::kEndOfTrack, 0x00};
    AppendBytes(aucEndOfTrack, sizeof aucEndOfTrack);
    return true;
}

// A merged delta is never longer than the delta its event had in its own track, which the
// reader holds below 2^28; the check keeps the quantity writer within its range all the same.
bool cTrackMerger::WriteDelta(uint64_t qwTime) {
    const uint64_t qwDelta = qwTime - LastTime;
    if (qwDelta >= kQuantityLimit) {
        return Refuse(CONV_MERGED_DELTA_TOO_LARGE,
                      "the merged track would need a delta of " + std::to_string(qwDelta) +
                          " ticks before tick " + std::to_string(qwTime) +
                          ", more than the 268435455 a quantity can hold");
    }
    LastTime = qwTime;
    AppendQuantity(static_cast<uint32_t>(qwDelta));
    return true;
}

// Channel messages always with their status byte; meta, SysEx and escape events whole, their
// lengths written anew as minimal quantities.
void cTrackMerger::WriteEvent(const tTrackCursor& Cursor) {
    const tTrackEvent& Event = Cursor.Event;
    const uint8_t* pucData = Cursor.Reader.Data();
    ++EventsWritten;
    Result.Song.push_back(Event.Kind);
    if (Event.Kind == cTrackReader::kMetaEvent) {
        Result.Song.push_back(Event.MetaType);
    }
    if (Event.Kind >= cTrackReader::kSysexEvent) {
        AppendQuantity(Event.DataLength);
    }
    AppendBytes(pucData + Event.DataStart, Event.DataLength);
}

void cTrackMerger::AppendQuantity(uint32_t dwValue) {
    uint8_t aucQuantity[4];
    AppendBytes(aucQuantity, static_cast<uint32_t>(WriteQuantity(aucQuantity, dwValue)));
}

void cTrackMerger::AppendBytes(const uint8_t* pucBytes, uint32_t dwCount) {
    Result.Song.insert(Result.Song.end(), pucBytes, pucBytes + dwCount);
}

void cTrackMerger::WriteHeaders(uint32_t dwDivision) {
    const uint8_t aucHeaders[] = {'M',
                                  'T',
                                  'h',
                                  'd',
                                  0,
                                  0,
                                  0,
                                  6,
                                  0,
                                  0,
                                  0,
                                  1,
                                  static_cast<uint8_t>(dwDivision >> 8),
                                  static_cast<uint8_t>(dwDivision),
                                  'M',
                                  'T',
                                  'r',
                                  'k',
                                  0,
                                  0,
                                  0,
                                  0};
    AppendBytes(aucHeaders, sizeof aucHeaders);
}

// The track's length goes into its chunk header once all of it is written.
void cTrackMerger::CloseTrack() {
    constexpr size_t uiHeadersBytes = tMidiHeader::SizeOfStruct() + kChunkHeaderBytes;
    if (Result.Song.size() >= uiHeadersBytes) {
        WriteBigEndian32(Result.Song.data() + tMidiHeader::SizeOfStruct() + 4,
                         static_cast<uint32_t>(Result.Song.size() - uiHeadersBytes));
    }
}

}  // namespace

tMergedSong MergeTracks(std::span<const uint8_t> Song) {
    return cTrackMerger(Song).Merge();
}
