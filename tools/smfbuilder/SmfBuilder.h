#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <vector>

// Builds Standard MIDI Files in memory: the example songs, test songs and benchmark songs.
// Events are appended with their delta time in ticks; nothing is checked, so malformed
// files can be built as easily as good ones.
class cSmfBuilder {
  public:
    explicit cSmfBuilder(uint16_t uiDivision = 480, uint16_t uiFormat = 0);

    cSmfBuilder& Event(uint32_t dwDelta, std::initializer_list<uint8_t> Bytes);
    cSmfBuilder& Event(uint32_t dwDelta, const std::vector<uint8_t>& Bytes);
    cSmfBuilder& NoteOn(uint32_t dwDelta, uint8_t ucChannel, uint8_t ucKey, uint8_t ucVelocity);
    cSmfBuilder& NoteOff(uint32_t dwDelta, uint8_t ucChannel, uint8_t ucKey);
    cSmfBuilder& ProgramChange(uint32_t dwDelta, uint8_t ucChannel, uint8_t ucProgram);
    cSmfBuilder& Tempo(uint32_t dwDelta, uint32_t dwMicrosecondsPerQuarter);
    cSmfBuilder& Meta(uint32_t dwDelta, uint8_t ucType, const std::vector<uint8_t>& Data);
    cSmfBuilder& Text(uint32_t dwDelta, uint8_t ucType, const char* szText);
    // A SysEx event: 0xF0, the length quantity, then the data (which should end in 0xF7).
    cSmfBuilder& Sysex(uint32_t dwDelta, const std::vector<uint8_t>& Data);
    cSmfBuilder& EndOfTrack(uint32_t dwDelta = 0);

    const std::vector<uint8_t>& Track() const { return TrackData; }
    // The 14-byte header chunk followed by one track chunk.
    std::vector<uint8_t> File() const;
    bool WriteTo(const std::filesystem::path& FilePath) const;

    static std::vector<uint8_t> Quantity(uint32_t dwValue);
    static std::vector<uint8_t> Header(uint16_t uiFormat, uint16_t uiTracks, uint16_t uiDivision,
                                       uint32_t dwLength = 6);
    static std::vector<uint8_t> Chunk(const char* szFourCC, const std::vector<uint8_t>& Data);

  private:
    void AppendDelta(uint32_t dwDelta);

    uint16_t uiDivision;
    uint16_t uiFormat;
    std::vector<uint8_t> TrackData;
};
