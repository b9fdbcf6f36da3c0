#include "conversion/MidiHeader.h"

#include <cstring>

#include "conversion/BigEndian.h"

bool tMidiHeader::IsMThd() const {
    return std::memcmp(HeaderStruct.acFourCC, "MThd", 4) == 0;
}

uint32_t tMidiHeader::ReturnLen() const {
    return ReadBigEndian32(HeaderStruct.aucLength);
}

uint32_t tMidiHeader::ReturnMidiFileType() const {
    return ReadBigEndian16(HeaderStruct.aucFormat);
}

uint32_t tMidiHeader::ReturnNumTracks() const {
    return ReadBigEndian16(HeaderStruct.aucNumTracks);
}

uint32_t tMidiHeader::GetDiv() const {
    return ReadBigEndian16(HeaderStruct.aucDivision);
}

bool tMidiHeader::ChangeFormatField(uint32_t dwFormatField) {
    HeaderStruct.aucFormat[0] = static_cast<uint8_t>((dwFormatField >> 8) & 0xFF);
    HeaderStruct.aucFormat[1] = static_cast<uint8_t>(dwFormatField & 0xFF);
    return true;
}

void tMidiHeader::ChangeLengthField(uint32_t dwLength) {
    WriteBigEndian32(HeaderStruct.aucLength, dwLength);
}
