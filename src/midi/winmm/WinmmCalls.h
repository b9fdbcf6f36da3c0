#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The Windows multimedia MIDI calls that the winmm backend makes, in plain types. Only
// WinmmCalls.cpp sees <windows.h> and <mmsystem.h>: they define the names of midi/MidiPlatform.h
// as macros and types of their own. Results are the services' MMRESULT values, which the
// platform interface shares, so they pass through unchanged.

// Takes the messages of one open device, on whatever thread the services call it from: the
// opening or closing thread for the open and close messages, a thread of theirs for data.
class iWinmmListener {
  public:
    virtual void OnWinmmMessage(uint32_t uiMsg, uintptr_t dwParam1, uintptr_t dwParam2) = 0;

  protected:
    ~iWinmmListener() = default;
};

// One Windows MIDIHDR, describing a buffer that its owner keeps alive. A callback names it by
// its address (dwParam1 of MOM_DONE, MIM_LONGDATA, MIM_LONGERROR).
struct tWinmmHeader;
struct tWinmmHeaderDelete {
    void operator()(tWinmmHeader* pHeader) const;
};
using tWinmmHeaderPtr = std::unique_ptr<tWinmmHeader, tWinmmHeaderDelete>;

// Null when there is no memory for it.
tWinmmHeaderPtr MakeWinmmHeader(uint8_t* pucData, uint32_t dwLength);
uint32_t WinmmHeaderBytesRecorded(const tWinmmHeader& Header);

// An open device of the services (an HMIDIOUT or HMIDIIN).
using tWinmmDevice = void*;

// The device number that only the services know, the MIDI mapper: no device of the lists.
inline constexpr uint32_t kWinmmMidiMapper = 0xFFFFFFFF;

// Which of the services' two families of calls: those of output devices or of input devices.
enum tWinmmSide : uint32_t {
    WINMM_OUTPUT = 0,
    WINMM_INPUT = 1,
};

uint32_t WinmmCount(tWinmmSide eSide);
// The device's name, copied from the WCHAR szPname of its capabilities (terminated).
uint32_t WinmmName(tWinmmSide eSide, uint32_t uiDevice, char16_t* szName, size_t cchName);
// Opens with a function callback that hands every message to pListener.
uint32_t WinmmOpen(tWinmmSide eSide, tWinmmDevice* phDevice, uint32_t uiDevice,
                   iWinmmListener* pListener);
uint32_t WinmmPrepare(tWinmmSide eSide, tWinmmDevice hDevice, tWinmmHeader& Header);
// Hands a prepared header to the services: an output's long message, an input's receive buffer.
uint32_t WinmmQueue(tWinmmSide eSide, tWinmmDevice hDevice, tWinmmHeader& Header);
uint32_t WinmmUnprepare(tWinmmSide eSide, tWinmmDevice hDevice, tWinmmHeader& Header);
uint32_t WinmmClose(tWinmmSide eSide, tWinmmDevice hDevice);
// The services' text of a result, as UTF-8.
uint32_t WinmmErrorText(tWinmmSide eSide, uint32_t uiResult, std::string& Utf8Text);

// Input devices only.
uint32_t WinmmInStart(tWinmmDevice hDevice);
uint32_t WinmmInReset(tWinmmDevice hDevice);
