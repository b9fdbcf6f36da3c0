#pragma once

#include <cstdint>

// The 14-byte header chunk of a Standard MIDI File, kept exactly as it lies in the file.
#pragma pack(push, 1)
struct tMidiHeaderStruct {
    char acFourCC[4];
    uint8_t aucLength[4];
    uint8_t aucFormat[2];
    uint8_t aucNumTracks[2];
    uint8_t aucDivision[2];
};
#pragma pack(pop)
static_assert(sizeof(tMidiHeaderStruct) == 14);

class tMidiHeader {
  public:
    uint8_t* PtrToHeaderStruct() { return reinterpret_cast<uint8_t*>(&HeaderStruct); }
    const uint8_t* PtrToHeaderStruct() const {
        return reinterpret_cast<const uint8_t*>(&HeaderStruct);
    }
    static constexpr uint32_t SizeOfStruct() { return sizeof(tMidiHeaderStruct); }

    const char* ReturnFourCC() const { return HeaderStruct.acFourCC; }
    bool IsMThd() const;
    uint32_t ReturnLen() const;
    uint32_t ReturnMidiFileType() const;
    uint32_t ReturnNumTracks() const;
    uint32_t GetDiv() const;
    bool ChangeFormatField(uint32_t dwFormatField);
    // The x10 file says 6 whatever the input said: only the six standard bytes follow there.
    void ChangeLengthField(uint32_t dwLength);

  private:
    tMidiHeaderStruct HeaderStruct{};
};
