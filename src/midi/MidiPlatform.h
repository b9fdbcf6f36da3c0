#pragma once

#include <cstddef>
#include <cstdint>

// The MIDI services as the ports use them: numbered input and output devices opened with a
// function callback, SysEx sent and received in caller-owned buffers described by MIDIHDR
// records, and 32-bit result codes. Names and values are those of the Windows multimedia MIDI
// services, so anyone who knows that platform recognises them; backends provide the services
// on each system (see MidiBackend.h).

// A 32-bit result code: 0 is success.
using MMRESULT = uint32_t;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_BADERRNUM = 9;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MIDIERR_UNPREPARED = 64;
inline constexpr MMRESULT MIDIERR_STILLPLAYING = 65;
inline constexpr MMRESULT MIDIERR_NOTREADY = 67;
inline constexpr MMRESULT MIDIERR_NODEVICE = 68;

// The longest error text the services give, terminator included.
inline constexpr uint32_t MAXERRORLENGTH = 256;

// Callback messages.
inline constexpr uint32_t MIM_OPEN = 0x3C1;
inline constexpr uint32_t MIM_CLOSE = 0x3C2;
inline constexpr uint32_t MIM_DATA = 0x3C3;
inline constexpr uint32_t MIM_LONGDATA = 0x3C4;
inline constexpr uint32_t MIM_ERROR = 0x3C5;
inline constexpr uint32_t MIM_LONGERROR = 0x3C6;
inline constexpr uint32_t MOM_OPEN = 0x3C7;
inline constexpr uint32_t MOM_CLOSE = 0x3C8;
inline constexpr uint32_t MOM_DONE = 0x3C9;
inline constexpr uint32_t MIM_MOREDATA = 0x3CC;

// Open flag: the callback argument is a function.
inline constexpr uint32_t CALLBACK_FUNCTION = 0x30000;

// MIDIHDR.dwFlags bits, kept by the services.
inline constexpr uint32_t MHDR_DONE = 0x1;
inline constexpr uint32_t MHDR_PREPARED = 0x2;
inline constexpr uint32_t MHDR_INQUEUE = 0x4;

// Device names hold at most 31 characters and a terminating zero.
inline constexpr size_t MAXPNAMELEN = 32;

// Handles of open devices. Zero is no device; a handle that was never issued, or whose device
// was closed, is refused with MMSYSERR_INVALHANDLE rather than followed.
enum class HMIDIOUT : uint32_t {};
enum class HMIDIIN : uint32_t {};

// One buffer of MIDI bytes handed to the services. The caller fills lpData, dwBufferLength and
// dwFlags (0) and keeps the record and its bytes alive until the services hand it back.
struct MIDIHDR {
    uint8_t* lpData = nullptr;
    uint32_t dwBufferLength = 0;
    uint32_t dwBytesRecorded = 0;  // input: how many bytes the services stored
    uintptr_t dwUser = 0;
    uint32_t dwFlags = 0;
};

// Device capabilities: only the display name, as UTF-16 text.
struct MIDIOUTCAPSW {
    char16_t szPname[MAXPNAMELEN] = {};
};

struct MIDIINCAPSW {
    char16_t szPname[MAXPNAMELEN] = {};
};

// Driver callbacks. They run on whatever thread the services choose: the opening or closing
// thread for the open and close messages, a thread of the services' own for data.
// For MIM_LONGDATA and MOM_DONE, dwParam1 is the address of the MIDIHDR handed back; for
// MIM_DATA it is the short message, status in the low byte. An input device that goes away
// while open (the device unplugged, the MIDI system shut down) is closed by the services on
// their own: MIM_CLOSE then carries in dwParam1 the result that says why (MIDIERR_NODEVICE,
// MMSYSERR_NODRIVER); a MIM_CLOSE that answers midiInClose carries 0.
using tMidiOutProc = void (*)(HMIDIOUT hMidiOut, uint32_t wMsg, uintptr_t dwInstance,
                              uintptr_t dwParam1, uintptr_t dwParam2);
using tMidiInProc = void (*)(HMIDIIN hMidiIn, uint32_t wMsg, uintptr_t dwInstance,
                             uintptr_t dwParam1, uintptr_t dwParam2);
