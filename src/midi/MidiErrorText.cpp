#include "midi/MidiErrorText.h"

#include <algorithm>

#include "midi/MidiBackend.h"

namespace {

struct tStandardText {
    MMRESULT Result;
    const char* szText;
};

constexpr tStandardText kStandardTexts[] = {
    {MMSYSERR_NOERROR, "No error."},
    {MMSYSERR_ERROR, "The MIDI system reported an unspecified error."},
    {MMSYSERR_BADDEVICEID, "There is no MIDI device with that number."},
    {MMSYSERR_ALLOCATED, "The MIDI device is already in use."},
    {MMSYSERR_INVALHANDLE, "The MIDI device is not open."},
    {MMSYSERR_NODRIVER, "The MIDI system is not running, or it went away."},
    {MMSYSERR_NOMEM, "There is not enough memory for the MIDI device."},
    {MMSYSERR_BADERRNUM, "The MIDI error number is unknown."},
    {MMSYSERR_INVALFLAG, "An invalid flag was passed to the MIDI system."},
    {MMSYSERR_INVALPARAM, "An invalid parameter was passed to the MIDI system."},
    {MIDIERR_UNPREPARED, "The MIDI buffer was not prepared."},
    {MIDIERR_STILLPLAYING, "The MIDI device still holds the buffer."},
    {MIDIERR_NOTREADY, "The MIDI device is busy and took no data."},
    {MIDIERR_NODEVICE, "The MIDI device went away (unplugged, closed or disconnected)."},
};

bool IsUtf8Continuation(char cByte) {
    return (static_cast<unsigned char>(cByte) & 0xC0) == 0x80;
}

template <typename tGetText>
std::string TextOf(MMRESULT eResult, tGetText GetText) {
    char szText[MAXERRORLENGTH] = {};
    if (GetText(eResult, szText, MAXERRORLENGTH) != MMSYSERR_NOERROR) {
        return "MIDI error " + std::to_string(eResult) + ".";
    }
    return szText;
}

}  // namespace

const char* StandardMidiErrorText(MMRESULT eResult) {
    for (const tStandardText& Entry : kStandardTexts) {
        if (Entry.Result == eResult) {
            return Entry.szText;
        }
    }
    return nullptr;
}

MMRESULT CopyMidiErrorText(std::string_view Text, char* pszText, uint32_t cchText) {
    if (pszText == nullptr || cchText == 0) {
        return MMSYSERR_INVALPARAM;
    }
    size_t uiLength = std::min<size_t>(Text.size(), cchText - 1);
    if (uiLength < Text.size()) {
        while (uiLength > 0 && IsUtf8Continuation(Text[uiLength])) {
            --uiLength;
        }
    }
    Text.copy(pszText, uiLength);
    pszText[uiLength] = '\0';
    return MMSYSERR_NOERROR;
}

MMRESULT GetStandardMidiErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) {
    const char* szStandard = StandardMidiErrorText(mmrError);
    const MMRESULT eCopied =
        CopyMidiErrorText(szStandard != nullptr ? szStandard : "", pszText, cchText);
    if (eCopied != MMSYSERR_NOERROR) {
        return eCopied;
    }
    return szStandard != nullptr ? MMSYSERR_NOERROR : MMSYSERR_BADERRNUM;
}

std::string MidiOutErrorText(MMRESULT eResult) {
    return TextOf(eResult, [](MMRESULT eCode, char* pszText, uint32_t cchText) {
        return MidiBackend().midiOutGetErrorText(eCode, pszText, cchText);
    });
}

std::string MidiInErrorText(MMRESULT eResult) {
    return TextOf(eResult, [](MMRESULT eCode, char* pszText, uint32_t cchText) {
        return MidiBackend().midiInGetErrorText(eCode, pszText, cchText);
    });
}

std::string DescribeMidiFailure(const std::string& What, MMRESULT eResult, bool bOutput) {
    const std::string Why = bOutput ? MidiOutErrorText(eResult) : MidiInErrorText(eResult);
    return What + " (error " + std::to_string(eResult) + ": " + Why + ")";
}
