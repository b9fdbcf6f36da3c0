#include <gtest/gtest.h>

#include <string>

#include "MidiTestSupport.h"
#include "midi/MidiErrorText.h"
#include "midi/driver/BackendErrorTexts.h"

TEST(MidiErrorText, every_result_a_port_can_see_has_words_from_whichever_backend_is_installed) {
    const MMRESULT aCodes[] = {
        MMSYSERR_ERROR,     MMSYSERR_BADDEVICEID, MMSYSERR_ALLOCATED, MMSYSERR_INVALHANDLE,
        MMSYSERR_NODRIVER,  MMSYSERR_NOMEM,       MMSYSERR_INVALFLAG, MMSYSERR_INVALPARAM,
        MIDIERR_UNPREPARED, MIDIERR_STILLPLAYING, MIDIERR_NOTREADY,   MIDIERR_NODEVICE,
    };
    cVirtualMidiBackend Virtual;
    for (const bool bInstalled : {false, true}) {
        std::unique_ptr<cScopedMidiBackend> pInstalled;
        if (bInstalled) {
            pInstalled = std::make_unique<cScopedMidiBackend>(Virtual);
        }
        for (const MMRESULT eCode : aCodes) {
            ASSERT_NE(StandardMidiErrorText(eCode), nullptr) << eCode;
            EXPECT_EQ(MidiOutErrorText(eCode), StandardMidiErrorText(eCode)) << eCode;
            EXPECT_EQ(MidiInErrorText(eCode), StandardMidiErrorText(eCode)) << eCode;
        }
        EXPECT_EQ(MidiOutErrorText(12345), "MIDI error 12345.");
    }
    // What the loss of the device or of the MIDI system reads as.
    EXPECT_NE(MidiOutErrorText(MIDIERR_NODEVICE).find("went away"), std::string::npos);
    EXPECT_NE(MidiInErrorText(MMSYSERR_NODRIVER).find("went away"), std::string::npos);
}

TEST(MidiErrorText, a_text_is_cut_to_the_callers_buffer_whole_characters_only) {
    struct tCase {
        const char* szText;
        uint32_t cchText;
        std::string Expected;
    };
    const tCase aCases[] = {
        {"abc", 10, "abc"},
        {"abcdef", 4, "abc"},
        {"abc", 1, ""},
        // U+00FC is two bytes: with room for one, neither goes.
        {"a\xC3\xBC", 3, "a"},
        {"a\xC3\xBC", 4, "a\xC3\xBC"},
    };
    for (const tCase& Case : aCases) {
        char szBuffer[16];
        std::fill(std::begin(szBuffer), std::end(szBuffer), '?');
        EXPECT_EQ(CopyMidiErrorText(Case.szText, szBuffer, Case.cchText), MMSYSERR_NOERROR);
        EXPECT_EQ(std::string(szBuffer), Case.Expected) << Case.szText << " in " << Case.cchText;
    }
    char szBuffer[4];
    EXPECT_EQ(CopyMidiErrorText("abc", nullptr, 4), MMSYSERR_INVALPARAM);
    EXPECT_EQ(CopyMidiErrorText("abc", szBuffer, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(GetStandardMidiErrorText(12345, szBuffer, 4), MMSYSERR_BADERRNUM);
    EXPECT_STREQ(szBuffer, "");
}

TEST(MidiErrorText, a_backends_own_failures_keep_their_words_under_codes_of_their_own) {
    cBackendErrorTexts Texts;
    const MMRESULT eFirst = Texts.Record("MidiOutJack::openPort: JACK error creating port");
    const MMRESULT eSecond = Texts.Record("the sequencer refused");
    EXPECT_NE(eFirst, eSecond);
    EXPECT_EQ(StandardMidiErrorText(eFirst), nullptr);
    char szText[MAXERRORLENGTH];
    ASSERT_EQ(Texts.GetText(eFirst, szText, MAXERRORLENGTH), MMSYSERR_NOERROR);
    EXPECT_STREQ(szText, "MidiOutJack::openPort: JACK error creating port");
    ASSERT_EQ(Texts.GetText(eSecond, szText, MAXERRORLENGTH), MMSYSERR_NOERROR);
    EXPECT_STREQ(szText, "the sequencer refused");
    ASSERT_EQ(Texts.GetText(MMSYSERR_NODRIVER, szText, MAXERRORLENGTH), MMSYSERR_NOERROR);
    EXPECT_STREQ(szText, StandardMidiErrorText(MMSYSERR_NODRIVER));

    // Only the latest texts are kept; an older code then reads as unknown, never as another's.
    for (uint32_t i = 0; i < cBackendErrorTexts::kKept; ++i) {
        Texts.Record("later failure " + std::to_string(i));
    }
    EXPECT_EQ(Texts.GetText(eFirst, szText, MAXERRORLENGTH), MMSYSERR_BADERRNUM);
    EXPECT_STREQ(szText, "");
}

TEST(MidiErrorText, codes_wrap_within_their_range_and_stay_out_of_the_standard_ones) {
    cBackendErrorTexts Texts;
    MMRESULT eLast = MMSYSERR_NOERROR;
    for (uint32_t i = 0; i <= cBackendErrorTexts::kCodeCount; ++i) {
        eLast = Texts.Record("failure " + std::to_string(i));
        ASSERT_GE(eLast, cBackendErrorTexts::kFirstCode);
        ASSERT_LT(eLast, cBackendErrorTexts::kFirstCode + cBackendErrorTexts::kCodeCount);
    }
    EXPECT_EQ(eLast, cBackendErrorTexts::kFirstCode);
    char szText[MAXERRORLENGTH];
    ASSERT_EQ(Texts.GetText(eLast, szText, MAXERRORLENGTH), MMSYSERR_NOERROR);
    EXPECT_EQ(std::string(szText), "failure " + std::to_string(cBackendErrorTexts::kCodeCount));
}
