#include "midi/winmm/WinmmCalls.h"

// <windows.h> must come before <mmsystem.h>.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <algorithm>
#include <new>

#include "midi/Utf16Text.h"

struct tWinmmHeader {
    MIDIHDR Header;
};

namespace {

// Each operation below calls the output or the input twin of a service by eSide; these are
// the shapes the twins share, with the handle type as the only difference.

template <typename tHandle>
void CALLBACK OnMessage(tHandle, UINT uMsg, DWORD_PTR dwInstance, DWORD_PTR dwParam1,
                        DWORD_PTR dwParam2) {
    reinterpret_cast<iWinmmListener*>(dwInstance)->OnWinmmMessage(uMsg, dwParam1, dwParam2);
}

// The name as the services hold it, cut to what the caller's record takes, zero-filled.
template <typename tCaps>
MMRESULT NameFromCaps(MMRESULT(WINAPI* pGetCaps)(UINT_PTR, tCaps*, UINT), uint32_t uiDevice,
                      char16_t* szName, size_t cchName) {
    tCaps Caps{};
    const MMRESULT eResult = pGetCaps(uiDevice, &Caps, sizeof(Caps));
    if (eResult != MMSYSERR_NOERROR || szName == nullptr || cchName == 0) {
        return eResult;
    }
    std::fill(szName, szName + cchName, u'\0');
    const size_t uiMax = std::min<size_t>(cchName - 1, MAXPNAMELEN - 1);
    for (size_t i = 0; i < uiMax && Caps.szPname[i] != L'\0'; ++i) {
        szName[i] = static_cast<char16_t>(Caps.szPname[i]);
    }
    return eResult;
}

template <typename tHandle>
MMRESULT OpenWith(MMRESULT(WINAPI* pOpen)(tHandle*, UINT, DWORD_PTR, DWORD_PTR, DWORD),
                  tWinmmDevice* phDevice, uint32_t uiDevice, iWinmmListener* pListener) {
    tHandle hOpened = nullptr;
    const MMRESULT eResult =
        pOpen(&hOpened, uiDevice, reinterpret_cast<DWORD_PTR>(&OnMessage<tHandle>),
              reinterpret_cast<DWORD_PTR>(pListener), CALLBACK_FUNCTION);
    *phDevice = eResult == MMSYSERR_NOERROR ? hOpened : nullptr;
    return eResult;
}

template <typename tHandle>
MMRESULT OnHeader(MMRESULT(WINAPI* pCall)(tHandle, LPMIDIHDR, UINT), tWinmmDevice hDevice,
                  tWinmmHeader& Header) {
    return pCall(static_cast<tHandle>(hDevice), &Header.Header, sizeof(MIDIHDR));
}

template <typename tHandle>
MMRESULT OnDevice(MMRESULT(WINAPI* pCall)(tHandle), tWinmmDevice hDevice) {
    return pCall(static_cast<tHandle>(hDevice));
}

MMRESULT ErrorTextWith(MMRESULT(WINAPI* pGetText)(MMRESULT, LPWSTR, UINT), uint32_t uiResult,
                       std::string& Utf8Text) {
    WCHAR szText[MAXERRORLENGTH] = {};
    const MMRESULT eResult = pGetText(uiResult, szText, MAXERRORLENGTH);
    // Read up to the terminator, and never past the buffer.
    const WCHAR* pEnd = std::find(szText, szText + MAXERRORLENGTH, L'\0');
    const std::u16string Text(static_cast<const WCHAR*>(szText), pEnd);
    Utf8Text = eResult == MMSYSERR_NOERROR ? Utf16ToUtf8(Text) : std::string();
    return eResult;
}

}  // namespace

void tWinmmHeaderDelete::operator()(tWinmmHeader* pHeader) const {
    delete pHeader;
}

tWinmmHeaderPtr MakeWinmmHeader(uint8_t* pucData, uint32_t dwLength) {
    tWinmmHeaderPtr pHeader(new (std::nothrow) tWinmmHeader{});
    if (pHeader == nullptr) {
        return nullptr;
    }
    pHeader->Header.lpData = reinterpret_cast<LPSTR>(pucData);
    pHeader->Header.dwBufferLength = dwLength;
    pHeader->Header.dwFlags = 0;
    return pHeader;
}

uint32_t WinmmHeaderBytesRecorded(const tWinmmHeader& Header) {
    return Header.Header.dwBytesRecorded;
}

uint32_t WinmmCount(tWinmmSide eSide) {
    return eSide == WINMM_OUTPUT ? midiOutGetNumDevs() : midiInGetNumDevs();
}

uint32_t WinmmName(tWinmmSide eSide, uint32_t uiDevice, char16_t* szName, size_t cchName) {
    return eSide == WINMM_OUTPUT ? NameFromCaps(&midiOutGetDevCapsW, uiDevice, szName, cchName)
                                 : NameFromCaps(&midiInGetDevCapsW, uiDevice, szName, cchName);
}

uint32_t WinmmOpen(tWinmmSide eSide, tWinmmDevice* phDevice, uint32_t uiDevice,
                   iWinmmListener* pListener) {
    return eSide == WINMM_OUTPUT ? OpenWith(&midiOutOpen, phDevice, uiDevice, pListener)
                                 : OpenWith(&midiInOpen, phDevice, uiDevice, pListener);
}

uint32_t WinmmPrepare(tWinmmSide eSide, tWinmmDevice hDevice, tWinmmHeader& Header) {
    return eSide == WINMM_OUTPUT ? OnHeader(&midiOutPrepareHeader, hDevice, Header)
                                 : OnHeader(&midiInPrepareHeader, hDevice, Header);
}

uint32_t WinmmQueue(tWinmmSide eSide, tWinmmDevice hDevice, tWinmmHeader& Header) {
    return eSide == WINMM_OUTPUT ? OnHeader(&midiOutLongMsg, hDevice, Header)
                                 : OnHeader(&midiInAddBuffer, hDevice, Header);
}

uint32_t WinmmUnprepare(tWinmmSide eSide, tWinmmDevice hDevice, tWinmmHeader& Header) {
    return eSide == WINMM_OUTPUT ? OnHeader(&midiOutUnprepareHeader, hDevice, Header)
                                 : OnHeader(&midiInUnprepareHeader, hDevice, Header);
}

uint32_t WinmmClose(tWinmmSide eSide, tWinmmDevice hDevice) {
    return eSide == WINMM_OUTPUT ? OnDevice(&midiOutClose, hDevice)
                                 : OnDevice(&midiInClose, hDevice);
}

uint32_t WinmmErrorText(tWinmmSide eSide, uint32_t uiResult, std::string& Utf8Text) {
    return eSide == WINMM_OUTPUT ? ErrorTextWith(&midiOutGetErrorTextW, uiResult, Utf8Text)
                                 : ErrorTextWith(&midiInGetErrorTextW, uiResult, Utf8Text);
}

uint32_t WinmmInStart(tWinmmDevice hDevice) {
    return OnDevice(&midiInStart, hDevice);
}

uint32_t WinmmInReset(tWinmmDevice hDevice) {
    return OnDevice(&midiInReset, hDevice);
}
