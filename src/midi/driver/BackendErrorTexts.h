#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "midi/MidiPlatform.h"

// The words of the failures that a backend's MIDI library or system reported, each kept under
// a result code of its own, from a range that no standard code uses, so that the error-text
// operations can give them back. The latest kKept texts are kept; an older code then reads as
// unknown. Safe to use from any thread.
class cBackendErrorTexts {
  public:
    static constexpr MMRESULT kFirstCode = 0x4000;
    static constexpr uint32_t kCodeCount = 0x1000;
    static constexpr uint32_t kKept = 32;

    // A new result code whose text is Text.
    MMRESULT Record(std::string Text);
    // The error-text operation: the standard text of a standard code, the recorded text of a
    // recorded one.
    MMRESULT GetText(MMRESULT mmrError, char* pszText, uint32_t cchText) const;

  private:
    struct tKeptText {
        MMRESULT Code = MMSYSERR_NOERROR;
        std::string Text;
    };

    mutable std::mutex TextsMutex;
    std::array<tKeptText, kKept> Kept;
    uint32_t Recorded = 0;
};
