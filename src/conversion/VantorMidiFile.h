#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "conversion/ConversionFailure.h"
#include "conversion/DebugDump.h"
#include "conversion/MidiHeader.h"
#include "conversion/MtrkHeader.h"

// Vets one MIDI file and converts a format-0 Standard MIDI File into the device's x10 song file,
// written beside the input as its full path with "x10" appended.
//
// The x10 file: the 14 header bytes with format 16, the track chunk header as read, then one
// section per instant (delta in units of 4 microseconds, a count byte, the kept event bytes as
// they stood in the input), then one 0x00 byte.
class VantorMidiFile {
  public:
    // The count byte of a section holds at most this many event bytes.
    static constexpr uint32_t kMaxSectionBytes = 255;
    // The largest delta a 4-byte quantity can hold, plus one.
    static constexpr uint64_t kDeltaLimit = uint64_t{1} << 28;

    VantorMidiFile() = default;
    explicit VantorMidiFile(const std::filesystem::path& FilePath);
    VantorMidiFile(const VantorMidiFile&) = delete;
    VantorMidiFile& operator=(const VantorMidiFile&) = delete;
    ~VantorMidiFile() = default;

    bool ValidateMIDIFile(const std::filesystem::path& FilePath);
    uint32_t ReturnMIDIFileType() const { return MidiHeader.ReturnMidiFileType(); }
    bool GetIsFileValid() const { return bIsFileValid; }
    void SetDebugFlag() { bDebugDump = true; }

    // The path of the x10 file just written, valid while this object lives; null on failure.
    const std::filesystem::path* ConvertToVantorFormat();

    tConversionFailure GetFailure() const { return eFailure; }
    bool IsFileSystemFailure() const { return ::IsFileSystemFailure(eFailure); }
    std::string GetFailureText() const;
    bool GetDebugDumpFailed() const { return bDebugDumpFailed; }
    const std::filesystem::path& GetX10FilePath() const { return szX10FilePath; }
    // Deletes an x10 file that this object created, as after a failed conversion.
    bool RemoveX10File();

    // The standard variable-length quantity, for values below 2^28; returns its 1 to 4 bytes.
    static int WriteVarLen(uint8_t* pucTarget, uint32_t dwValue);
    static std::filesystem::path MakeX10FilePath(const std::filesystem::path& MidiFilePath);

    bool bEventsRemoved = false;

  private:
    const std::filesystem::path* Warrelize();
    bool OpenFiles();
    bool FillHeader();
    bool SkipToTrackChunk();
    bool FillTrackInfo();
    bool SetUpTimeBase();
    bool WriteFileHeader();
    bool WriteMtrk();
    bool WriteSections();
    void AppendCurrentEvent();
    bool WriteSection();
    void BuildX10Packet(const uint8_t* pucPacketData, uint32_t dwEventLength);
    const uint8_t* X10PacketPtr();
    void VantorizeDeltaTime(uint32_t dwOrigDeltaTime);
    float TempoFactor() const;
    bool WriteBytes(const uint8_t* pucBytes, size_t uiCount);
    bool ReadBytes(uint8_t* pucBytes, size_t uiCount, tConversionFailure eIfShort);
    bool SkipBytes(uint64_t qwCount, tConversionFailure eIfShort);
    bool Fail(tConversionFailure eWhy, uint64_t qwValue = 0, uint64_t qwLimit = 0);
    bool FailFromTrack();

    bool bTempoInSection = false;
    std::filesystem::path szMidiFilePath;
    std::filesystem::path szX10FilePath;
    std::ifstream hMidiFile;
    std::ofstream hX10File;
    uint8_t aucX10Packet[4 + 1 + 256] = {};
    uint8_t aucEventData[256] = {};
    uint32_t dwPacketLen = 0;
    uint32_t dwEventDataLen = 0;
    uint32_t dwX10DeltaTime = 0;
    float fOrigDeltaTime = 0.0f;
    tMidiHeader MidiHeader;
    tMtrkHeader MtrkHeader;
    bool bIsFileValid = false;
    bool bDebugDump = false;

    // Time of sections that wrote nothing, owed to the next section that is written.
    uint64_t qwCarriedDeltaTime = 0;
    uint32_t dwSectionsWritten = 0;
    bool bTimeCode = false;
    float fTimeCodeFactor = 0.0f;
    uint64_t qwBytesLeftInFile = 0;
    bool bX10Created = false;
    cDebugDump DebugDump;
    bool bDebugDumpFailed = false;
    tConversionFailure eFailure = CONV_NONE;
    uint64_t qwFailureValue = 0;
    uint64_t qwFailureLimit = 0;
};
