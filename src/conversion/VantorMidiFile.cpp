#include "conversion/VantorMidiFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "conversion/SongFile.h"
#include "conversion/TrackChunks.h"
#include "conversion/TrackMerger.h"
#include "conversion/X10Size.h"
#include "files/FileByRename.h"

namespace {

constexpr uint32_t kX10Format = 16;
constexpr uint32_t kTimeCodeFlag = 0x8000;

std::string Hex(uint64_t qwValue, int iDigits) {
    char acText[24];
    std::snprintf(acText, sizeof acText, "0x%0*llX", iDigits,
                  static_cast<unsigned long long>(qwValue));
    return acText;
}

}  // namespace

VantorMidiFile::VantorMidiFile(const std::filesystem::path& FilePath) {
    ValidateMIDIFile(FilePath);
}

bool VantorMidiFile::ValidateMIDIFile(const std::filesystem::path& FilePath) {
    szMidiFilePath = FilePath;
    const tSongFileRead Start = ReadSongStart(FilePath, tMidiHeader::SizeOfStruct());
    ValidationFailure = Start.eFailure;
    ValidationReason = Start.Reason;
    if (Start.eFailure == CONV_NONE && Start.Bytes.empty()) {
        ValidationReason = "the file is empty";
    }
    if (Start.Bytes.size() != tMidiHeader::SizeOfStruct()) {
        return false;
    }
    std::copy_n(Start.Bytes.data(), tMidiHeader::SizeOfStruct(), MidiHeader.PtrToHeaderStruct());
    bIsFileValid = MidiHeader.IsMThd();
    return bIsFileValid;
}

std::filesystem::path VantorMidiFile::MakeX10FilePath(const std::filesystem::path& MidiFilePath) {
    std::filesystem::path X10FilePath = MidiFilePath;
    X10FilePath += "x10";
    return X10FilePath;
}

const std::filesystem::path* VantorMidiFile::ConvertToVantorFormat() {
    return Warrelize();
}

const std::filesystem::path* VantorMidiFile::Warrelize() {
    if (szX10FilePath.empty()) {
        szX10FilePath = MakeX10FilePath(szMidiFilePath);
    }
    return ConvertInMemory() && WriteX10File() ? &szX10FilePath : nullptr;
}

bool VantorMidiFile::ConvertInMemory() {
    std::vector<uint8_t> Song;
    return ReadSong(Song) && ConvertSongBytes(Song);
}

bool VantorMidiFile::ReadSong(std::vector<uint8_t>& Song) {
    tSongFileRead Read = ReadSongFile(szMidiFilePath);
    if (Read.eFailure != CONV_NONE) {
        const bool bSystemReason = ::IsFileSystemFailure(Read.eFailure);
        return Fail(Read.eFailure, ReadFailureText(Read), bSystemReason ? Read.Reason : "");
    }
    Song = std::move(Read.Bytes);
    return true;
}

bool VantorMidiFile::WriteX10File() {
    std::error_code Error;
    if (!WriteFileByRename(szX10FilePath, X10Bytes.data(), X10Bytes.size(), Error)) {
        const std::u8string X10Path = szX10FilePath.u8string();
        return Fail(CONV_CREATE_FAILED,
                    "cannot create the song file " + std::string(X10Path.begin(), X10Path.end()) +
                        ": " + Error.message(),
                    Error.message());
    }
    X10Written = true;
    return true;
}

bool VantorMidiFile::RemoveX10File() {
    if (!X10Written) {
        return false;
    }
    std::error_code Error;
    X10Written = !std::filesystem::remove(szX10FilePath, Error) && Error;
    return !X10Written;
}

bool VantorMidiFile::ConvertSongBytes(std::span<const uint8_t> Song) {
    // An x10 file is about as long as its song; the section count bytes make up for meta events.
    X10Bytes.reserve(std::min<size_t>(Song.size() + Song.size() / 4, kMaxX10Bytes));
    return TakeFormat0Song(Song) && FillTrackInfo(Song) && SetUpTimeBase() && WriteFileHeader() &&
           WriteMtrk() && CheckX10Size();
}

// A format-1 song is merged into a format-0 one when that is asked for; every other format but
// 0 is refused.
bool VantorMidiFile::TakeFormat0Song(std::span<const uint8_t>& Song) {
    const tSongHeader Head = ReadSongHeader(Song);
    if (Head.Failure != CONV_NONE) {
        return Fail(Head.Failure, Head.FailureText);
    }
    MidiHeader = Head.Header;
    const uint32_t dwFormat = MidiHeader.ReturnMidiFileType();
    if (dwFormat == 0) {
        return true;
    }
    if (!bMergeTracks) {
        return Fail(
            CONV_NOT_FORMAT_0,
            "the song is of format " + std::to_string(dwFormat) + "; only format 0 is converted" +
                (dwFormat == kMergeableFormat ? ", or format 1 with its tracks merged" : ""));
    }
    tMergedSong Merged = MergeTracks(Song);
    if (!Merged.Merged) {
        return Fail(Merged.eFailure, Merged.FailureText);
    }
    MergedSong = std::move(Merged.Song);
    MergedTracks = Merged.TrackCount;
    Song = MergedSong;
    MidiHeader = ReadSongHeader(Song).Header;
    return true;
}

// The first track chunk, past a longer header and past chunks of other kinds.
bool VantorMidiFile::FillTrackInfo(std::span<const uint8_t> Song) {
    const tTrackChunks Chunks = FindTrackChunks(Song, 1);
    if (Chunks.eFailure != CONV_NONE) {
        return Fail(Chunks.eFailure, Chunks.FailureText);
    }
    if (Chunks.Tracks.empty()) {
        return Fail(CONV_NO_TRACK, "no track chunk (MTrk) follows the header");
    }
    // The x10 file says 6 whatever the input said: only the six standard bytes follow there.
    if (MidiHeader.ReturnLen() > kStandardHeaderLength) {
        MidiHeader.ChangeLengthField(kStandardHeaderLength);
    }
    const uint8_t* pucChunk = Song.data() + Chunks.Tracks.front().ChunkStart;
    std::memcpy(MtrkHeader.PtrToMtrkStruct(), pucChunk, kChunkHeaderBytes);
    MtrkHeader.UseData(pucChunk + kChunkHeaderBytes, Chunks.Tracks.front().DataLength);
    return true;
}

// Division in ticks per quarter note, or with bit 15 set in frames per second (high byte,
// negated) and ticks per frame (low byte), where tempo plays no part.
bool VantorMidiFile::SetUpTimeBase() {
    const uint32_t dwDivision = MidiHeader.GetDiv();
    const std::string Refusal = "division " + Hex(dwDivision, 4) + " gives no time base";
    if (dwDivision == 0) {
        return Fail(CONV_BAD_DIVISION, Refusal);
    }
    if ((dwDivision & kTimeCodeFlag) == 0) {
        return true;
    }
    const int iFramesPerSecond = -static_cast<int8_t>(dwDivision >> 8);
    const uint32_t dwTicksPerFrame = dwDivision & 0xFF;
    if (dwTicksPerFrame == 0) {
        return Fail(CONV_BAD_DIVISION, Refusal);
    }
    const double dFramesPerSecond = iFramesPerSecond == 29 ? 29.97 : iFramesPerSecond;
    TimeCodeFactor = static_cast<float>(1000000.0 / (4.0 * dFramesPerSecond * dwTicksPerFrame));
    TimeCode = true;
    return true;
}

void VantorMidiFile::AppendX10(const uint8_t* pucBytes, size_t uiCount) {
    X10ByteCount += uiCount;
    if (IsX10SizeAllowed(X10ByteCount)) {
        X10Bytes.insert(X10Bytes.end(), pucBytes, pucBytes + uiCount);
    }
}

bool VantorMidiFile::CheckX10Size() {
    if (IsX10SizeAllowed(X10ByteCount)) {
        return true;
    }
    X10Bytes.clear();
    return Fail(CONV_X10_TOO_LARGE, X10SizeFailureText(X10ByteCount));
}

bool VantorMidiFile::WriteFileHeader() {
    MidiHeader.ChangeFormatField(kX10Format);
    AppendX10(MidiHeader.PtrToHeaderStruct(), tMidiHeader::SizeOfStruct());
    return true;
}

bool VantorMidiFile::WriteMtrk() {
    AppendX10(MtrkHeader.PtrToMtrkStruct(), tMtrkHeader::SizeOfMtrkStruct());
    if (bDebugDump) {
        DebugDump.Start();
    }
    const uint8_t ucEndOfFile = 0x00;
    const bool bWritten = WriteSections();
    if (bWritten) {
        AppendX10(&ucEndOfFile, 1);
    }
    if (bDebugDump) {
        DebugDumpFailed = !DebugDump.Finish();
    }
    return bWritten;
}

bool VantorMidiFile::WriteSections() {
    fOrigDeltaTime = 0.0f;
    tTempoInForce NextSectionTempo = CurrentTempo();
    if (!MtrkHeader.ReadEvent()) {
        return MtrkHeader.GetFault() != TRACK_OK
                   ? FailFromTrack()
                   : Fail(CONV_EMPTY_TRACK, "the track holds no events before End of Track");
    }
    bool bTrackGoesOn = true;
    while (bTrackGoesOn) {
        dwEventDataLen = 0;
        SectionLostEvents = false;
        SectionTempo = NextSectionTempo;
        // The section's delta is its first event's: every later one in it has delta 0.
        VantorizeDeltaTime(MtrkHeader.GetDeltaTime());
        do {
            if (!AppendCurrentEvent()) {
                return false;
            }
            NextSectionTempo = CurrentTempo();
            bTrackGoesOn = MtrkHeader.ReadEvent();
            if (!bTrackGoesOn && MtrkHeader.GetFault() != TRACK_OK) {
                return FailFromTrack();
            }
        } while (bTrackGoesOn && MtrkHeader.GetDeltaTime() == 0);
        if (!WriteSection()) {
            return false;
        }
    }
    return true;
}

VantorMidiFile::tTempoInForce VantorMidiFile::CurrentTempo() const {
    tTempoInForce Tempo;
    Tempo.dwTempo = MtrkHeader.GetTempo();
    Tempo.FromEvent = MtrkHeader.GetTempoEventOffset(Tempo.EventOffset);
    return Tempo;
}

bool VantorMidiFile::AppendCurrentEvent() {
    switch (MtrkHeader.GetMtrkEvent()) {
        case cTrackReader::kSysexEvent:
        case cTrackReader::kEscapeEvent:
            // An event the reader left out has length 0 and adds nothing.
            BuildX10Packet(MtrkHeader.GetEventPtr(eSysexEvent),
                           MtrkHeader.GetEventLength(eSysexEvent));
            return true;
        case cTrackReader::kMetaEvent:
            if (MtrkHeader.GetLastMetaEvent() == cTrackReader::kSetTempo &&
                MtrkHeader.GetTempo() == 0) {
                return Fail(CONV_ZERO_TEMPO, "the Set Tempo event at track byte " +
                                                 std::to_string(MtrkHeader.GetEventOffset()) +
                                                 " sets a tempo of 0, which would make every "
                                                 "time 0");
            }
            return true;
        default:
            AppendChannelMessage();
            return true;
    }
}

// A running-status message is written as its data alone, as it stood, unless a message left out
// before it leaves another status last in the x10 file: then it gets its status byte back.
void VantorMidiFile::AppendChannelMessage() {
    const uint8_t* pucWhole = MtrkHeader.GetEventPtr(eMIDIEvent);
    const uint32_t dwLength = MtrkHeader.GetEventLength(eMIDIEvent);
    const bool bRunningStatus = MtrkHeader.GetIsRunningStatus();
    if (bRunningStatus && pucWhole[0] == LastStatusWritten) {
        BuildX10Packet(MtrkHeader.GetEventDataOnly(eMIDIEvent), dwLength);
        return;
    }
    if (BuildX10Packet(pucWhole, bRunningStatus ? dwLength + 1 : dwLength)) {
        LastStatusWritten = pucWhole[0];
    }
}

// A section whose events were all left out writes nothing; its time goes to the next section
// that is written, so that everything after it keeps its place in time.
bool VantorMidiFile::WriteSection() {
    // Each delta is below 2^50, so only a track of more than 2^14 silent sections of the longest
    // delta could pass 64 bits: the sum stops at the largest value, which the text then says.
    const uint64_t qwDeltaTime = CarriedDeltaTime > UINT64_MAX - SectionDeltaTime
                                     ? UINT64_MAX
                                     : CarriedDeltaTime + SectionDeltaTime;
    if (dwEventDataLen == 0) {
        CarriedDeltaTime = qwDeltaTime;
        return true;
    }
    if (qwDeltaTime >= kDeltaLimit) {
        const std::string Units = qwDeltaTime == UINT64_MAX
                                      ? "more than " + std::to_string(UINT64_MAX - 1)
                                      : std::to_string(qwDeltaTime);
        return Fail(CONV_DELTA_TOO_LARGE, "section " + std::to_string(SectionsWritten) +
                                              " comes too long after the one before it (" + Units +
                                              " units of 4 microseconds, at most 268435455) " +
                                              TimeBaseText());
    }
    CarriedDeltaTime = 0;
    dwX10DeltaTime = static_cast<uint32_t>(qwDeltaTime);
    const uint8_t* pucPacket = X10PacketPtr();  // sets dwPacketLen
    AppendX10(pucPacket, dwPacketLen);
    if (bDebugDump) {
        DebugDump.AddRow(fOrigDeltaTime, dwX10DeltaTime, aucEventData, dwEventDataLen);
    }
    ++SectionsWritten;
    return true;
}

// What timed the section: the tempo and where it was set, or the time code division.
std::string VantorMidiFile::TimeBaseText() const {
    if (TimeCode) {
        return "at time code division " + Hex(MidiHeader.GetDiv(), 4);
    }
    const std::string Tempo =
        std::to_string(SectionTempo.dwTempo) + " microseconds per quarter note";
    const std::string Division = " (division " + std::to_string(MidiHeader.GetDiv()) + ")";
    if (!SectionTempo.FromEvent) {
        return "at the starting tempo of " + Tempo + Division;
    }
    return "at the tempo of " + Tempo + " set by the Set Tempo event at track byte " +
           std::to_string(SectionTempo.EventOffset) + Division;
}

// Events are kept whole: one that does not fit in what is left of the section is left out,
// and later events of the instant that fit are still kept.
bool VantorMidiFile::BuildX10Packet(const uint8_t* pucPacketData, uint32_t dwEventLength) {
    if (dwEventLength > kMaxSectionBytes - dwEventDataLen) {
        bEventsRemoved = true;
        InstantsWithEventsRemoved += SectionLostEvents ? 0 : 1;
        SectionLostEvents = true;
        return false;
    }
    std::copy_n(pucPacketData, dwEventLength, aucEventData + dwEventDataLen);
    dwEventDataLen += dwEventLength;
    return true;
}

const uint8_t* VantorMidiFile::X10PacketPtr() {
    const int iDeltaBytes = WriteVarLen(aucX10Packet, dwX10DeltaTime);
    aucX10Packet[iDeltaBytes] = static_cast<uint8_t>(dwEventDataLen);
    std::copy_n(aucEventData, dwEventDataLen, aucX10Packet + iDeltaBytes + 1);
    dwPacketLen = static_cast<uint32_t>(iDeltaBytes) + 1 + dwEventDataLen;
    return aucX10Packet;
}

int VantorMidiFile::WriteVarLen(uint8_t* pucTarget, uint32_t dwValue) {
    return WriteQuantity(pucTarget, dwValue);
}

// The float steps are kept exactly as the device's own tools take them, so that every delta
// comes out the same to the unit.
void VantorMidiFile::VantorizeDeltaTime(uint32_t dwOrigDeltaTime) {
    if (dwOrigDeltaTime != 0) {
        fOrigDeltaTime = static_cast<float>(dwOrigDeltaTime);
    }
    const float fFactor = TimeCode ? TimeCodeFactor : TempoFactor();
    const auto fProduct =
        static_cast<float>(static_cast<double>(fOrigDeltaTime) * static_cast<double>(fFactor));
    // Kept whole, however large (a delta below 2^28 ticks at a factor below 2^22), so that a
    // delta the device cannot take is reported with its true value; the guard only keeps the
    // conversion defined.
    SectionDeltaTime = fProduct < 1.8e19f ? static_cast<uint64_t>(fProduct) : UINT64_MAX;
}

// The time up to an instant is measured at the tempo in force before it, however many tempo
// changes the instant holds.
float VantorMidiFile::TempoFactor() const {
    const auto fTempo = static_cast<float>(SectionTempo.dwTempo);
    const auto fDivision = static_cast<float>(MidiHeader.GetDiv());
    return static_cast<float>(static_cast<double>(fTempo) * 1000.0 / 4000.0 /
                              static_cast<double>(fDivision));
}

bool VantorMidiFile::Fail(tConversionFailure eWhy, std::string Text, std::string Reason) {
    if (eFailure == CONV_NONE) {
        eFailure = eWhy;
        FailureText = std::move(Text);
        SystemReason = std::move(Reason);
    }
    return false;
}

bool VantorMidiFile::FailFromTrack() {
    return Fail(ConversionFailureOf(MtrkHeader.GetFault()),
                TrackFaultText(MtrkHeader.GetFault(), MtrkHeader.GetFaultOffset(),
                               MtrkHeader.GetFaultByte()));
}

// A fault found in a merged song lies in its merged track, which the text says.
std::string VantorMidiFile::GetFailureText() const {
    if (eFailure == CONV_NONE) {
        return "no failure";
    }
    if (MergedTracks > 0 && !::IsFileSystemFailure(eFailure)) {
        return "in the track merged from its " + std::to_string(MergedTracks) + " tracks, " +
               FailureText;
    }
    return FailureText;
}
