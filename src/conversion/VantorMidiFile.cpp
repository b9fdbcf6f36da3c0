#include "conversion/VantorMidiFile.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace {

constexpr uint32_t kX10Format = 16;
constexpr uint32_t kStandardHeaderLength = 6;
constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kSysexEvent = 0xF0;
constexpr uint8_t kEscapeEvent = 0xF7;
constexpr uint8_t kSetTempo = 0x51;
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
    std::ifstream File(FilePath, std::ios::binary);
    if (!File) {
        return false;
    }
    File.read(reinterpret_cast<char*>(MidiHeader.PtrToHeaderStruct()), tMidiHeader::SizeOfStruct());
    if (File.gcount() != tMidiHeader::SizeOfStruct() || !MidiHeader.IsMThd()) {
        return false;
    }
    bIsFileValid = true;
    return true;
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
    szX10FilePath = MakeX10FilePath(szMidiFilePath);
    const bool bRead = OpenFiles() && FillHeader() && FillTrackInfo();
    hMidiFile.close();
    const bool bWritten = bRead && SetUpTimeBase() && WriteFileHeader() && WriteMtrk();
    if (hX10File.is_open()) {
        hX10File.close();
        if (bWritten && hX10File.fail()) {
            Fail(CONV_WRITE_FAILED);
        }
    }
    return eFailure == CONV_NONE ? &szX10FilePath : nullptr;
}

bool VantorMidiFile::RemoveX10File() {
    if (!bX10Created) {
        return false;
    }
    hX10File.close();
    std::error_code Error;
    bX10Created = !std::filesystem::remove(szX10FilePath, Error) && Error;
    return !bX10Created;
}

bool VantorMidiFile::OpenFiles() {
    hX10File.open(szX10FilePath, std::ios::binary | std::ios::trunc);
    if (!hX10File) {
        return Fail(CONV_CREATE_FAILED);
    }
    bX10Created = true;
    hMidiFile.open(szMidiFilePath, std::ios::binary);
    if (!hMidiFile) {
        return Fail(CONV_OPEN_FAILED);
    }
    std::error_code Error;
    qwBytesLeftInFile = std::filesystem::file_size(szMidiFilePath, Error);
    return Error ? Fail(CONV_READ_FAILED) : true;
}

bool VantorMidiFile::ReadBytes(uint8_t* pucBytes, size_t uiCount, tConversionFailure eIfShort) {
    hMidiFile.read(reinterpret_cast<char*>(pucBytes), static_cast<std::streamsize>(uiCount));
    const auto uiGot = static_cast<size_t>(hMidiFile.gcount());
    if (hMidiFile.bad()) {
        return Fail(CONV_READ_FAILED);
    }
    if (uiGot != uiCount) {
        return Fail(eIfShort, uiCount, uiGot);
    }
    qwBytesLeftInFile -= qwBytesLeftInFile < uiCount ? qwBytesLeftInFile : uiCount;
    return true;
}

bool VantorMidiFile::SkipBytes(uint64_t qwCount, tConversionFailure eIfShort) {
    if (qwCount > qwBytesLeftInFile) {
        return Fail(eIfShort, qwCount, qwBytesLeftInFile);
    }
    hMidiFile.seekg(static_cast<std::streamoff>(qwCount), std::ios::cur);
    if (!hMidiFile) {
        return Fail(CONV_READ_FAILED);
    }
    qwBytesLeftInFile -= qwCount;
    return true;
}

bool VantorMidiFile::FillHeader() {
    if (!ReadBytes(MidiHeader.PtrToHeaderStruct(), tMidiHeader::SizeOfStruct(),
                   CONV_HEADER_CUT_OFF)) {
        return false;
    }
    const uint32_t dwHeaderLength = MidiHeader.ReturnLen();
    if (dwHeaderLength < kStandardHeaderLength) {
        return Fail(CONV_HEADER_TOO_SHORT, dwHeaderLength);
    }
    if (dwHeaderLength > kStandardHeaderLength) {
        if (!SkipBytes(dwHeaderLength - kStandardHeaderLength, CONV_HEADER_CUT_OFF)) {
            return false;
        }
        MidiHeader.ChangeLengthField(kStandardHeaderLength);
    }
    return true;
}

// Chunks of other kinds between the header and the track are read past.
bool VantorMidiFile::SkipToTrackChunk() {
    while (true) {
        if (!ReadBytes(MtrkHeader.PtrToMtrkStruct(), tMtrkHeader::SizeOfMtrkStruct(),
                       CONV_NO_TRACK)) {
            return false;
        }
        if (MtrkHeader.IsMTrk()) {
            return true;
        }
        if (!SkipBytes(MtrkHeader.ReturnLen(), CONV_NO_TRACK)) {
            return false;
        }
    }
}

bool VantorMidiFile::FillTrackInfo() {
    if (!SkipToTrackChunk()) {
        return false;
    }
    const uint32_t dwTrackLength = MtrkHeader.ReturnLen();
    // Checked before allocating, so a lying length cannot ask for gigabytes.
    if (dwTrackLength > qwBytesLeftInFile) {
        return Fail(CONV_TRACK_CUT_OFF, dwTrackLength, qwBytesLeftInFile);
    }
    if (!MtrkHeader.AllocBuf()) {
        return Fail(CONV_OUT_OF_MEMORY, dwTrackLength);
    }
    return ReadBytes(MtrkHeader.PtrToDataBuf(), dwTrackLength, CONV_TRACK_CUT_OFF);
}

// Division in ticks per quarter note, or with bit 15 set in frames per second (high byte,
// negated) and ticks per frame (low byte), where tempo plays no part.
bool VantorMidiFile::SetUpTimeBase() {
    const uint32_t dwDivision = MidiHeader.GetDiv();
    if (dwDivision == 0) {
        return Fail(CONV_BAD_DIVISION, dwDivision);
    }
    if ((dwDivision & kTimeCodeFlag) == 0) {
        return true;
    }
    const int iFramesPerSecond = -static_cast<int8_t>(dwDivision >> 8);
    const uint32_t dwTicksPerFrame = dwDivision & 0xFF;
    if (dwTicksPerFrame == 0) {
        return Fail(CONV_BAD_DIVISION, dwDivision);
    }
    const double dFramesPerSecond = iFramesPerSecond == 29 ? 29.97 : iFramesPerSecond;
    fTimeCodeFactor = static_cast<float>(1000000.0 / (4.0 * dFramesPerSecond * dwTicksPerFrame));
    bTimeCode = true;
    return true;
}

bool VantorMidiFile::WriteBytes(const uint8_t* pucBytes, size_t uiCount) {
    hX10File.write(reinterpret_cast<const char*>(pucBytes), static_cast<std::streamsize>(uiCount));
    return hX10File ? true : Fail(CONV_WRITE_FAILED);
}

bool VantorMidiFile::WriteFileHeader() {
    MidiHeader.ChangeFormatField(kX10Format);
    return WriteBytes(MidiHeader.PtrToHeaderStruct(), tMidiHeader::SizeOfStruct());
}

bool VantorMidiFile::WriteMtrk() {
    if (!WriteBytes(MtrkHeader.PtrToMtrkStruct(), tMtrkHeader::SizeOfMtrkStruct())) {
        return false;
    }
    if (bDebugDump) {
        bDebugDumpFailed = !DebugDump.Start();
    }
    const uint8_t ucEndOfFile = 0x00;
    const bool bWritten = WriteSections() && WriteBytes(&ucEndOfFile, 1);
    DebugDump.Finish();
    return bWritten;
}

bool VantorMidiFile::WriteSections() {
    fOrigDeltaTime = 0.0f;
    if (!MtrkHeader.ReadEvent()) {
        return MtrkHeader.GetFault() != TRACK_OK ? FailFromTrack() : Fail(CONV_EMPTY_TRACK);
    }
    bool bTrackGoesOn = true;
    while (bTrackGoesOn) {
        dwEventDataLen = 0;
        bTempoInSection = false;
        do {
            AppendCurrentEvent();
            VantorizeDeltaTime(MtrkHeader.GetDeltaTime());
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

void VantorMidiFile::AppendCurrentEvent() {
    switch (MtrkHeader.GetMtrkEvent()) {
        case kSysexEvent:
        case kEscapeEvent:
            BuildX10Packet(MtrkHeader.GetEventPtr(eSysexEvent),
                           MtrkHeader.GetEventLength(eSysexEvent));
            return;
        case kMetaEvent:
            if (MtrkHeader.GetLastMetaEvent() == kSetTempo) {
                bTempoInSection = true;
            }
            return;
        default: {
            const uint8_t* pucEvent = MtrkHeader.GetIsRunningStatus()
                                          ? MtrkHeader.GetEventDataOnly(eMIDIEvent)
                                          : MtrkHeader.GetEventPtr(eMIDIEvent);
            BuildX10Packet(pucEvent, MtrkHeader.GetEventLength(eMIDIEvent));
            return;
        }
    }
}

// A section whose events were all left out writes nothing; its time goes to the next section
// that is written, so that everything after it keeps its place in time.
bool VantorMidiFile::WriteSection() {
    if (dwEventDataLen == 0) {
        qwCarriedDeltaTime += dwX10DeltaTime;
        return true;
    }
    const uint64_t qwDeltaTime = qwCarriedDeltaTime + dwX10DeltaTime;
    if (qwDeltaTime >= kDeltaLimit) {
        return Fail(CONV_DELTA_TOO_LARGE, qwDeltaTime, dwSectionsWritten);
    }
    qwCarriedDeltaTime = 0;
    dwX10DeltaTime = static_cast<uint32_t>(qwDeltaTime);
    const uint8_t* pucPacket = X10PacketPtr();  // sets dwPacketLen
    if (!WriteBytes(pucPacket, dwPacketLen)) {
        return false;
    }
    if (bDebugDump) {
        DebugDump.AddRow(fOrigDeltaTime, dwX10DeltaTime, aucEventData, dwEventDataLen);
    }
    ++dwSectionsWritten;
    return true;
}

void VantorMidiFile::BuildX10Packet(const uint8_t* pucPacketData, uint32_t dwEventLength) {
    for (uint32_t i = 0; i < dwEventLength; ++i) {
        if (dwEventDataLen < kMaxSectionBytes) {
            aucEventData[dwEventDataLen++] = pucPacketData[i];
        } else {
            bEventsRemoved = true;
        }
    }
}

const uint8_t* VantorMidiFile::X10PacketPtr() {
    const int iDeltaBytes = WriteVarLen(aucX10Packet, dwX10DeltaTime);
    aucX10Packet[iDeltaBytes] = static_cast<uint8_t>(dwEventDataLen);
    std::copy_n(aucEventData, dwEventDataLen, aucX10Packet + iDeltaBytes + 1);
    dwPacketLen = static_cast<uint32_t>(iDeltaBytes) + 1 + dwEventDataLen;
    return aucX10Packet;
}

int VantorMidiFile::WriteVarLen(uint8_t* pucTarget, uint32_t dwValue) {
    uint32_t dwBuffer = dwValue & 0x7F;
    while ((dwValue >>= 7) != 0) {
        dwBuffer <<= 8;
        dwBuffer |= 0x80;
        dwBuffer += dwValue & 0x7F;
    }
    int iWritten = 0;
    while (true) {
        pucTarget[iWritten++] = static_cast<uint8_t>(dwBuffer);
        if ((dwBuffer & 0x80) == 0) {
            return iWritten;
        }
        dwBuffer >>= 8;
    }
}

// The float steps are kept exactly as the device's own tools take them, so that every delta
// comes out the same to the unit.
void VantorMidiFile::VantorizeDeltaTime(uint32_t dwOrigDeltaTime) {
    if (dwOrigDeltaTime != 0) {
        fOrigDeltaTime = static_cast<float>(dwOrigDeltaTime);
    }
    const float fFactor = bTimeCode ? fTimeCodeFactor : TempoFactor();
    const auto fProduct =
        static_cast<float>(static_cast<double>(fOrigDeltaTime) * static_cast<double>(fFactor));
    // Too large for 32 bits: saturate, and the delta limit refuses it when it is written.
    dwX10DeltaTime = fProduct >= 4294967296.0f ? UINT32_MAX : static_cast<uint32_t>(fProduct);
}

// The time up to a tempo change is measured at the tempo that the change replaced.
float VantorMidiFile::TempoFactor() const {
    const uint32_t dwTempo =
        bTempoInSection ? MtrkHeader.GetPreviousTempo() : MtrkHeader.GetTempo();
    const auto fTempo = static_cast<float>(dwTempo);
    const auto fDivision = static_cast<float>(MidiHeader.GetDiv());
    return static_cast<float>(static_cast<double>(fTempo) * 1000.0 / 4000.0 /
                              static_cast<double>(fDivision));
}

bool VantorMidiFile::Fail(tConversionFailure eWhy, uint64_t qwValue, uint64_t qwLimit) {
    if (eFailure == CONV_NONE) {
        eFailure = eWhy;
        qwFailureValue = qwValue;
        qwFailureLimit = qwLimit;
    }
    return false;
}

bool VantorMidiFile::FailFromTrack() {
    const uint32_t dwOffset = MtrkHeader.GetFaultOffset();
    switch (MtrkHeader.GetFault()) {
        case TRACK_META_TOO_LONG:
            return Fail(CONV_META_TOO_LONG, dwOffset);
        case TRACK_EVENT_CUT_OFF:
            return Fail(CONV_EVENT_CUT_OFF, dwOffset);
        case TRACK_QUANTITY_TOO_LONG:
            return Fail(CONV_QUANTITY_TOO_LONG, dwOffset);
        case TRACK_NO_RUNNING_STATUS:
            return Fail(CONV_NO_RUNNING_STATUS, dwOffset);
        case TRACK_BAD_EVENT_KIND:
            return Fail(CONV_BAD_EVENT_KIND, dwOffset, MtrkHeader.GetFaultByte());
        case TRACK_OK:
            break;
    }
    return Fail(CONV_EMPTY_TRACK);
}

std::string VantorMidiFile::GetFailureText() const {
    const std::string Value = std::to_string(qwFailureValue);
    const std::string Limit = std::to_string(qwFailureLimit);
    switch (eFailure) {
        case CONV_NONE:
            return "no failure";
        case CONV_CREATE_FAILED:
            return "cannot create the song file " + szX10FilePath.string();
        case CONV_OPEN_FAILED:
            return "cannot open the file";
        case CONV_READ_FAILED:
            return "cannot read the file";
        case CONV_WRITE_FAILED:
            return "cannot write the song file " + szX10FilePath.string();
        case CONV_OUT_OF_MEMORY:
            return "not enough memory for a track of " + Value + " bytes";
        case CONV_HEADER_CUT_OFF:
            return "the file ends inside its header chunk";
        case CONV_HEADER_TOO_SHORT:
            return "the header chunk says " + Value + " bytes, fewer than the 6 it must hold";
        case CONV_BAD_DIVISION:
            return "division " + Hex(qwFailureValue, 4) + " gives no time base";
        case CONV_NO_TRACK:
            return "no track chunk (MTrk) follows the header";
        case CONV_TRACK_CUT_OFF:
            return "the track chunk says " + Value + " bytes but the file holds only " + Limit;
        case CONV_EMPTY_TRACK:
            return "the track holds no events before End of Track";
        case CONV_META_TOO_LONG:
            return "the meta event at track byte " + Value + " has 256 or more data bytes";
        case CONV_EVENT_CUT_OFF:
            return "the track data ends inside the event at track byte " + Value;
        case CONV_QUANTITY_TOO_LONG:
            return "a variable-length quantity at track byte " + Value + " runs over 4 bytes";
        case CONV_NO_RUNNING_STATUS:
            return "the event at track byte " + Value + " has data but no status byte before it";
        case CONV_BAD_EVENT_KIND:
            return "the event at track byte " + Value + " is of kind " + Hex(qwFailureLimit, 2) +
                   ", which a MIDI file track may not hold";
        case CONV_DELTA_TOO_LARGE:
            return "section " + Limit + " comes too long after the one before it (" + Value +
                   " units of 4 microseconds, at most 268435455)";
    }
    return "unknown failure";
}
