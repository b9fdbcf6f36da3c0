#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "conversion/ConversionFailure.h"
#include "conversion/DebugDump.h"
#include "conversion/MidiHeader.h"
#include "conversion/MtrkHeader.h"
#include "conversion/Quantity.h"

// Vets one MIDI file and converts a format-0 Standard MIDI File (or, when asked, a format-1 file
// with its tracks merged into one) into the device's x10 song file, by default written beside
// the input as its full path with "x10" appended.
//
// The x10 file: the 14 header bytes with format 16, the track chunk header as read, then one
// section per instant (delta in units of 4 microseconds, a count byte, the kept event bytes as
// they stood in the input), then one 0x00 byte. It is put together in memory and written under
// its name only when complete.
class VantorMidiFile {
  public:
    // The count byte of a section holds at most this many event bytes.
    static constexpr uint32_t kMaxSectionBytes = 255;
    // The largest delta a 4-byte quantity can hold, plus one.
    static constexpr uint64_t kDeltaLimit = kQuantityLimit;

    VantorMidiFile() = default;
    explicit VantorMidiFile(const std::filesystem::path& FilePath);
    VantorMidiFile(const VantorMidiFile&) = delete;
    VantorMidiFile& operator=(const VantorMidiFile&) = delete;
    ~VantorMidiFile() = default;

    // Reads the first 14 bytes: true for a file that starts with a MIDI file header. A FIFO,
    // device or socket is refused unread (GetValidationFailure).
    bool ValidateMIDIFile(const std::filesystem::path& FilePath);
    uint32_t ReturnMIDIFileType() const { return MidiHeader.ReturnMidiFileType(); }
    bool GetIsFileValid() const { return bIsFileValid; }
    // Why validation read nothing: a special file, or the file could not be opened or read;
    // the reason is then what the file is ("a FIFO") or the system's text, and for an empty
    // file "the file is empty".
    tConversionFailure GetValidationFailure() const { return ValidationFailure; }
    const std::string& GetValidationReason() const { return ValidationReason; }

    void SetDebugFlag() { bDebugDump = true; }
    void SetMergeTracks() { bMergeTracks = true; }
    // Where the x10 file goes; by default MakeX10FilePath of the song.
    void SetX10FilePath(const std::filesystem::path& X10FilePath) { szX10FilePath = X10FilePath; }

    // Converts the validated file. The path of the x10 file just written, valid while this
    // object lives; null on failure, when nothing has been written under the x10 name.
    const std::filesystem::path* ConvertToVantorFormat();
    // Converts the validated file in memory, writing nothing; its bytes are then GetX10Bytes().
    bool ConvertInMemory();
    // Converts a song held in memory; the x10 file's bytes are then GetX10Bytes().
    bool ConvertSongBytes(std::span<const uint8_t> Song);
    const std::vector<uint8_t>& GetX10Bytes() const { return X10Bytes; }
    // The tracks merged into the converted song; 0 for a format-0 song.
    uint32_t GetMergedTracks() const { return MergedTracks; }

    tConversionFailure GetFailure() const { return eFailure; }
    bool IsFileSystemFailure() const { return ::IsFileSystemFailure(eFailure); }
    std::string GetFailureText() const;
    // The system's reason for a file-system failure ("Permission denied").
    const std::string& GetSystemReason() const { return SystemReason; }
    bool GetDebugDumpFailed() const { return DebugDumpFailed; }
    const std::string& GetDebugDumpFailureText() const { return DebugDump.GetFailureText(); }
    const std::filesystem::path& GetX10FilePath() const { return szX10FilePath; }
    // Deletes the x10 file that this object wrote.
    bool RemoveX10File();

    // The standard variable-length quantity, for values below 2^28; returns its 1 to 4 bytes.
    static int WriteVarLen(uint8_t* pucTarget, uint32_t dwValue);
    static std::filesystem::path MakeX10FilePath(const std::filesystem::path& MidiFilePath);

    // The instants (sections) that lost event bytes: those events did not fit its count byte.
    uint32_t GetInstantsWithEventsRemoved() const { return InstantsWithEventsRemoved; }

    bool bEventsRemoved = false;

  private:
    // The tempo that times a section: the one in force before its instant.
    struct tTempoInForce {
        uint32_t dwTempo = tMtrkHeader::kStartTempo;
        bool FromEvent = false;
        uint32_t EventOffset = 0;
    };

    const std::filesystem::path* Warrelize();
    bool ReadSong(std::vector<uint8_t>& Song);
    bool WriteX10File();
    bool TakeFormat0Song(std::span<const uint8_t>& Song);
    bool FillTrackInfo(std::span<const uint8_t> Song);
    bool SetUpTimeBase();
    bool WriteFileHeader();
    bool WriteMtrk();
    bool WriteSections();
    bool AppendCurrentEvent();
    void AppendChannelMessage();
    bool WriteSection();
    bool BuildX10Packet(const uint8_t* pucPacketData, uint32_t dwEventLength);
    const uint8_t* X10PacketPtr();
    void AppendX10(const uint8_t* pucBytes, size_t uiCount);
    bool CheckX10Size();
    void VantorizeDeltaTime(uint32_t dwOrigDeltaTime);
    float TempoFactor() const;
    tTempoInForce CurrentTempo() const;
    std::string TimeBaseText() const;
    bool Fail(tConversionFailure eWhy, std::string Text, std::string Reason = {});
    bool FailFromTrack();

    std::filesystem::path szMidiFilePath;
    std::filesystem::path szX10FilePath;
    uint8_t aucX10Packet[4 + 1 + 256] = {};
    uint8_t aucEventData[256] = {};
    uint32_t dwPacketLen = 0;
    uint32_t dwEventDataLen = 0;
    uint32_t dwX10DeltaTime = 0;  // the delta as written to the x10 file
    float fOrigDeltaTime = 0.0f;
    tMidiHeader MidiHeader;
    tMtrkHeader MtrkHeader;
    bool bIsFileValid = false;
    bool bDebugDump = false;

    bool bMergeTracks = false;
    std::vector<uint8_t> MergedSong;
    uint32_t MergedTracks = 0;
    tConversionFailure ValidationFailure = CONV_NONE;
    std::string ValidationReason;
    tTempoInForce SectionTempo;
    // The last channel status byte in the x10 file, which running status there goes on from.
    uint8_t LastStatusWritten = 0;
    // The current section's own delta in device units, before the limit is checked.
    uint64_t SectionDeltaTime = 0;
    // Time of sections that wrote nothing, owed to the next section that is written.
    uint64_t CarriedDeltaTime = 0;
    uint32_t SectionsWritten = 0;
    bool SectionLostEvents = false;
    uint32_t InstantsWithEventsRemoved = 0;
    bool TimeCode = false;
    float TimeCodeFactor = 0.0f;
    std::vector<uint8_t> X10Bytes;
    // Every byte the x10 file would hold; only those within the device's limit are kept.
    uint64_t X10ByteCount = 0;
    bool X10Written = false;
    cDebugDump DebugDump;
    bool DebugDumpFailed = false;
    tConversionFailure eFailure = CONV_NONE;
    std::string FailureText;
    std::string SystemReason;
};
