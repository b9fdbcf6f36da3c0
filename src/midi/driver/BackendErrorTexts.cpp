#include "midi/driver/BackendErrorTexts.h"

#include <utility>

#include "midi/MidiErrorText.h"

static_assert(cBackendErrorTexts::kCodeCount % cBackendErrorTexts::kKept == 0,
              "a code must keep its slot when the codes wrap");

MMRESULT cBackendErrorTexts::Record(std::string Text) {
    std::lock_guard<std::mutex> Lock(TextsMutex);
    const uint32_t uiOffset = Recorded++ % kCodeCount;
    tKeptText& Slot = Kept[uiOffset % kKept];
    Slot.Code = kFirstCode + uiOffset;
    Slot.Text = std::move(Text);
    return Slot.Code;
}

MMRESULT cBackendErrorTexts::GetText(MMRESULT mmrError, char* pszText, uint32_t cchText) const {
    if (mmrError < kFirstCode || mmrError >= kFirstCode + kCodeCount) {
        return GetStandardMidiErrorText(mmrError, pszText, cchText);
    }
    std::lock_guard<std::mutex> Lock(TextsMutex);
    const tKeptText& Slot = Kept[(mmrError - kFirstCode) % kKept];
    if (Slot.Code != mmrError) {
        const MMRESULT eCopied = CopyMidiErrorText("", pszText, cchText);
        return eCopied != MMSYSERR_NOERROR ? eCopied : MMSYSERR_BADERRNUM;
    }
    return CopyMidiErrorText(Slot.Text, pszText, cchText);
}
