#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "midi/MidiPlatform.h"

// Result codes in words: the standard texts, the buffer rule of the error-text operations, and
// the helpers through which the front ends say why a device failed.

// The standard text of a result code; null for a code that has none.
const char* StandardMidiErrorText(MMRESULT eResult);

// Writes Text into pszText as the error-text operations do: cut to cchText - 1 bytes, never
// inside a UTF-8 character, and terminated. MMSYSERR_INVALPARAM without a buffer.
MMRESULT CopyMidiErrorText(std::string_view Text, char* pszText, uint32_t cchText);

// The error-text operation of a backend that knows the standard codes only.
MMRESULT GetStandardMidiErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText);

// Why an output (input) operation of the installed backend failed, in words; a code that the
// backend does not know is named by its number.
std::string MidiOutErrorText(MMRESULT eResult);
std::string MidiInErrorText(MMRESULT eResult);

// What failed, with the backend's words for why: "What (error N: why)". bOutput says whose
// words: the output or the input side's.
std::string DescribeMidiFailure(const std::string& What, MMRESULT eResult, bool bOutput);
