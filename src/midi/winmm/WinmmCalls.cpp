#include "midi/winmm/WinmmCalls.h"

// <windows.h> must come before <mmsystem.h>.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <algorithm>
#include <new>

struct tWinmmHeader {
    MIDIHDR Header;
};

namespace {

HMIDIOUT OutOf(tWinmmDevice hDevice) {
    return static_cast<HMIDIOUT>(hDevice);
}

HMIDIIN InOf(tWinmmDevice hDevice) {
    return static_cast<HMIDIIN>(hDevice);
}

void CALLBACK OnOutMessage(HMIDIOUT, UINT uMsg, DWORD_PTR dwInstance, DWORD_PTR dwParam1,
                           DWORD_PTR dwParam2) {
    reinterpret_cast<iWinmmListener*>(dwInstance)->OnWinmmMessage(uMsg, dwParam1, dwParam2);
}

void CALLBACK OnInMessage(HMIDIIN, UINT uMsg, DWORD_PTR dwInstance, DWORD_PTR dwParam1,
                          DWORD_PTR dwParam2) {
    reinterpret_cast<iWinmmListener*>(dwInstance)->OnWinmmMessage(uMsg, dwParam1, dwParam2);
}

// The name as the services hold it, cut to what the caller's record takes, zero-filled.
void CopyName(const WCHAR (&szPname)[MAXPNAMELEN], char16_t* szName, size_t cchName) {
    if (szName == nullptr || cchName == 0) {
        return;
    }
    std::fill(szName, szName + cchName, u'\0');
    const size_t uiMax = std::min<size_t>(cchName - 1, MAXPNAMELEN - 1);
    for (size_t i = 0; i < uiMax && szPname[i] != L'\0'; ++i) {
        szName[i] = static_cast<char16_t>(szPname[i]);
    }
}

std::string Utf8FromWide(const WCHAR* szText) {
    const int iBytes = WideCharToMultiByte(CP_UTF8, 0, szText, -1, nullptr, 0, nullptr, nullptr);
    if (iBytes <= 1) {
        return {};
    }
    std::string Text(static_cast<size_t>(iBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, szText, -1, Text.data(), iBytes, nullptr, nullptr);
    Text.resize(static_cast<size_t>(iBytes - 1));
    return Text;
}

template <typename tGetText>
uint32_t ErrorText(uint32_t uiResult, std::string& Utf8Text, tGetText GetText) {
    WCHAR szText[MAXERRORLENGTH] = {};
    const MMRESULT eResult = GetText(uiResult, szText, MAXERRORLENGTH);
    Utf8Text = eResult == MMSYSERR_NOERROR ? Utf8FromWide(szText) : std::string();
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

// Output

uint32_t WinmmOutCount() {
    return midiOutGetNumDevs();
}

uint32_t WinmmOutName(uint32_t uiDevice, char16_t* szName, size_t cchName) {
    MIDIOUTCAPSW Caps{};
    const MMRESULT eResult = midiOutGetDevCapsW(uiDevice, &Caps, sizeof(Caps));
    if (eResult == MMSYSERR_NOERROR) {
        CopyName(Caps.szPname, szName, cchName);
    }
    return eResult;
}

uint32_t WinmmOutOpen(tWinmmDevice* phDevice, uint32_t uiDevice, iWinmmListener* pListener) {
    HMIDIOUT hOpened = nullptr;
    const MMRESULT eResult =
        midiOutOpen(&hOpened, uiDevice, reinterpret_cast<DWORD_PTR>(&OnOutMessage),
                    reinterpret_cast<DWORD_PTR>(pListener), CALLBACK_FUNCTION);
    *phDevice = eResult == MMSYSERR_NOERROR ? hOpened : nullptr;
    return eResult;
}

uint32_t WinmmOutPrepare(tWinmmDevice hDevice, tWinmmHeader& Header) {
    return midiOutPrepareHeader(OutOf(hDevice), &Header.Header, sizeof(MIDIHDR));
}

uint32_t WinmmOutLongMsg(tWinmmDevice hDevice, tWinmmHeader& Header) {
    return midiOutLongMsg(OutOf(hDevice), &Header.Header, sizeof(MIDIHDR));
}

uint32_t WinmmOutUnprepare(tWinmmDevice hDevice, tWinmmHeader& Header) {
    return midiOutUnprepareHeader(OutOf(hDevice), &Header.Header, sizeof(MIDIHDR));
}

uint32_t WinmmOutClose(tWinmmDevice hDevice) {
    return midiOutClose(OutOf(hDevice));
}

uint32_t WinmmOutErrorText(uint32_t uiResult, std::string& Utf8Text) {
    return ErrorText(uiResult, Utf8Text, [](uint32_t uiCode, WCHAR* szText, UINT cchText) {
        return midiOutGetErrorTextW(uiCode, szText, cchText);
    });
}

// Input

uint32_t WinmmInCount() {
    return midiInGetNumDevs();
}

uint32_t WinmmInName(uint32_t uiDevice, char16_t* szName, size_t cchName) {
    MIDIINCAPSW Caps{};
    const MMRESULT eResult = midiInGetDevCapsW(uiDevice, &Caps, sizeof(Caps));
    if (eResult == MMSYSERR_NOERROR) {
        CopyName(Caps.szPname, szName, cchName);
    }
    return eResult;
}

uint32_t WinmmInOpen(tWinmmDevice* phDevice, uint32_t uiDevice, iWinmmListener* pListener) {
    HMIDIIN hOpened = nullptr;
    const MMRESULT eResult =
        midiInOpen(&hOpened, uiDevice, reinterpret_cast<DWORD_PTR>(&OnInMessage),
                   reinterpret_cast<DWORD_PTR>(pListener), CALLBACK_FUNCTION);
    *phDevice = eResult == MMSYSERR_NOERROR ? hOpened : nullptr;
    return eResult;
}

uint32_t WinmmInPrepare(tWinmmDevice hDevice, tWinmmHeader& Header) {
    return midiInPrepareHeader(InOf(hDevice), &Header.Header, sizeof(MIDIHDR));
}

uint32_t WinmmInAddBuffer(tWinmmDevice hDevice, tWinmmHeader& Header) {
    return midiInAddBuffer(InOf(hDevice), &Header.Header, sizeof(MIDIHDR));
}

uint32_t WinmmInStart(tWinmmDevice hDevice) {
    return midiInStart(InOf(hDevice));
}

uint32_t WinmmInReset(tWinmmDevice hDevice) {
    return midiInReset(InOf(hDevice));
}

uint32_t WinmmInUnprepare(tWinmmDevice hDevice, tWinmmHeader& Header) {
    return midiInUnprepareHeader(InOf(hDevice), &Header.Header, sizeof(MIDIHDR));
}

uint32_t WinmmInClose(tWinmmDevice hDevice) {
    return midiInClose(InOf(hDevice));
}

uint32_t WinmmInErrorText(uint32_t uiResult, std::string& Utf8Text) {
    return ErrorText(uiResult, Utf8Text, [](uint32_t uiCode, WCHAR* szText, UINT cchText) {
        return midiInGetErrorTextW(uiCode, szText, cchText);
    });
}
