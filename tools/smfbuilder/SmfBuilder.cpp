#include "smfbuilder/SmfBuilder.h"

#include <cstring>
#include <fstream>

namespace {

void AppendBigEndian(std::vector<uint8_t>& Bytes, uint32_t dwValue, int iBytes) {
    for (int i = iBytes - 1; i >= 0; --i) {
        Bytes.push_back(static_cast<uint8_t>(dwValue >> (8 * i)));
    }
}

}  // namespace

cSmfBuilder::cSmfBuilder(uint16_t uiDivision, uint16_t uiFormat)
    : uiDivision(uiDivision), uiFormat(uiFormat) {}

std::vector<uint8_t> cSmfBuilder::Quantity(uint32_t dwValue) {
    std::vector<uint8_t> Bytes{static_cast<uint8_t>(dwValue & 0x7F)};
    while ((dwValue >>= 7) != 0) {
        Bytes.insert(Bytes.begin(), static_cast<uint8_t>(0x80 | (dwValue & 0x7F)));
    }
    return Bytes;
}

void cSmfBuilder::AppendDelta(uint32_t dwDelta) {
    const std::vector<uint8_t> Delta = Quantity(dwDelta);
    TrackData.insert(TrackData.end(), Delta.begin(), Delta.end());
}

cSmfBuilder& cSmfBuilder::Event(uint32_t dwDelta, std::initializer_list<uint8_t> Bytes) {
    AppendDelta(dwDelta);
    TrackData.insert(TrackData.end(), Bytes.begin(), Bytes.end());
    return *this;
}

cSmfBuilder& cSmfBuilder::Event(uint32_t dwDelta, const std::vector<uint8_t>& Bytes) {
    AppendDelta(dwDelta);
    TrackData.insert(TrackData.end(), Bytes.begin(), Bytes.end());
    return *this;
}

cSmfBuilder& cSmfBuilder::NoteOn(uint32_t dwDelta, uint8_t ucChannel, uint8_t ucKey,
                                 uint8_t ucVelocity) {
    return Event(dwDelta, {static_cast<uint8_t>(0x90 | ucChannel), ucKey, ucVelocity});
}

cSmfBuilder& cSmfBuilder::NoteOff(uint32_t dwDelta, uint8_t ucChannel, uint8_t ucKey) {
    return Event(dwDelta, {static_cast<uint8_t>(0x80 | ucChannel), ucKey, 0x40});
}

cSmfBuilder& cSmfBuilder::ProgramChange(uint32_t dwDelta, uint8_t ucChannel, uint8_t ucProgram) {
    return Event(dwDelta, {static_cast<uint8_t>(0xC0 | ucChannel), ucProgram});
}

cSmfBuilder& cSmfBuilder::Tempo(uint32_t dwDelta, uint32_t dwMicrosecondsPerQuarter) {
    std::vector<uint8_t> Data;
    AppendBigEndian(Data, dwMicrosecondsPerQuarter, 3);
    return Meta(dwDelta, 0x51, Data);
}

cSmfBuilder& cSmfBuilder::Meta(uint32_t dwDelta, uint8_t ucType, const std::vector<uint8_t>& Data) {
    std::vector<uint8_t> Bytes{0xFF, ucType};
    const std::vector<uint8_t> Length = Quantity(static_cast<uint32_t>(Data.size()));
    Bytes.insert(Bytes.end(), Length.begin(), Length.end());
    Bytes.insert(Bytes.end(), Data.begin(), Data.end());
    return Event(dwDelta, Bytes);
}

cSmfBuilder& cSmfBuilder::Text(uint32_t dwDelta, uint8_t ucType, const char* szText) {
    return Meta(dwDelta, ucType, std::vector<uint8_t>(szText, szText + std::strlen(szText)));
}

cSmfBuilder& cSmfBuilder::Sysex(uint32_t dwDelta, const std::vector<uint8_t>& Data) {
    std::vector<uint8_t> Bytes{0xF0};
    const std::vector<uint8_t> Length = Quantity(static_cast<uint32_t>(Data.size()));
    Bytes.insert(Bytes.end(), Length.begin(), Length.end());
    Bytes.insert(Bytes.end(), Data.begin(), Data.end());
    return Event(dwDelta, Bytes);
}

cSmfBuilder& cSmfBuilder::EndOfTrack(uint32_t dwDelta) {
    return Event(dwDelta, {0xFF, 0x2F, 0x00});
}

std::vector<uint8_t> cSmfBuilder::Header(uint16_t uiFormat, uint16_t uiTracks, uint16_t uiDivision,
                                         uint32_t dwLength) {
    std::vector<uint8_t> Bytes{'M', 'T', 'h', 'd'};
    AppendBigEndian(Bytes, dwLength, 4);
    AppendBigEndian(Bytes, uiFormat, 2);
    AppendBigEndian(Bytes, uiTracks, 2);
    AppendBigEndian(Bytes, uiDivision, 2);
    return Bytes;
}

std::vector<uint8_t> cSmfBuilder::Chunk(const char* szFourCC, const std::vector<uint8_t>& Data) {
    std::vector<uint8_t> Bytes(szFourCC, szFourCC + 4);
    AppendBigEndian(Bytes, static_cast<uint32_t>(Data.size()), 4);
    Bytes.insert(Bytes.end(), Data.begin(), Data.end());
    return Bytes;
}

std::vector<uint8_t> cSmfBuilder::File() const {
    std::vector<uint8_t> Bytes = Header(uiFormat, 1, uiDivision);
    const std::vector<uint8_t> TrackChunk = Chunk("MTrk", TrackData);
    Bytes.insert(Bytes.end(), TrackChunk.begin(), TrackChunk.end());
    return Bytes;
}

bool cSmfBuilder::WriteTo(const std::filesystem::path& FilePath) const {
    const std::vector<uint8_t> Bytes = File();
    std::ofstream Out(FilePath, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
    Out.close();
    return !Out.fail();
}
