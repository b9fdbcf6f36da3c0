#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "midi/virtual/VirtualMidiBackend.h"

// The header calls of every backend check the handle, then the header, before the device sees
// it; the virtual backend stands for them all.
namespace {

void IgnoreOut(HMIDIOUT, uint32_t, uintptr_t, uintptr_t, uintptr_t) {}
void IgnoreIn(HMIDIIN, uint32_t, uintptr_t, uintptr_t, uintptr_t) {}

enum tCall : uint8_t { OUT_PREPARE, OUT_LONG_MSG, OUT_UNPREPARE, IN_PREPARE, IN_ADD, IN_UNPREPARE };

using tOutCall = MMRESULT (iMidiBackend::*)(HMIDIOUT, MIDIHDR*, uint32_t);
using tInCall = MMRESULT (iMidiBackend::*)(HMIDIIN, MIDIHDR*, uint32_t);
const tOutCall kOutCalls[] = {&iMidiBackend::midiOutPrepareHeader, &iMidiBackend::midiOutLongMsg,
                              &iMidiBackend::midiOutUnprepareHeader};
const tInCall kInCalls[] = {&iMidiBackend::midiInPrepareHeader, &iMidiBackend::midiInAddBuffer,
                            &iMidiBackend::midiInUnprepareHeader};
const char* const kCallNames[] = {"midiOutPrepareHeader",   "midiOutLongMsg",
                                  "midiOutUnprepareHeader", "midiInPrepareHeader",
                                  "midiInAddBuffer",        "midiInUnprepareHeader"};

enum tHeader : uint8_t { NO_RECORD, SHORT_RECORD, NO_DATA, NOT_PREPARED };

class HeaderChecks : public ::testing::Test {
  protected:
    HeaderChecks() {
        Virtual.AddOutDevice("TAV Orvik out");
        Virtual.AddInDevice("TAV Orvik in");
        EXPECT_EQ(Backend.midiOutOpen(&hOut, 0, &IgnoreOut, 0, CALLBACK_FUNCTION),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(Backend.midiInOpen(&hIn, 0, &IgnoreIn, 0, CALLBACK_FUNCTION), MMSYSERR_NOERROR);
        Header.dwBufferLength = sizeof(aucData);
    }
    ~HeaderChecks() override {
        Backend.midiOutClose(hOut);
        Backend.midiInClose(hIn);
    }

    MMRESULT Make(tCall eCall, tHeader eHeader, HMIDIOUT hTheOut, HMIDIIN hTheIn) {
        MIDIHDR* pHeader = eHeader == NO_RECORD ? nullptr : &Header;
        const uint32_t cbHeader = sizeof(MIDIHDR) - (eHeader == SHORT_RECORD ? 1 : 0);
        Header.lpData = eHeader == NO_DATA ? nullptr : aucData;
        Header.dwFlags = eHeader == NOT_PREPARED ? 0 : MHDR_PREPARED;
        if (eCall < IN_PREPARE) {
            return (Backend.*kOutCalls[eCall])(hTheOut, pHeader, cbHeader);
        }
        return (Backend.*kInCalls[eCall - IN_PREPARE])(hTheIn, pHeader, cbHeader);
    }

    cVirtualMidiBackend Virtual;
    // Called as every caller calls a backend: through the platform interface.
    iMidiBackend& Backend = Virtual;
    HMIDIOUT hOut{};
    HMIDIIN hIn{};
    uint8_t aucData[16] = {0xF0, 0x7E, 0xF7};
    MIDIHDR Header;
};

}  // namespace

TEST_F(HeaderChecks, a_header_the_services_would_refuse_never_reaches_the_device) {
    const struct {
        tCall eCall;
        tHeader eHeader;
        MMRESULT eExpected;
    } kRows[] = {
        {OUT_PREPARE, NO_RECORD, MMSYSERR_INVALPARAM},
        {OUT_PREPARE, SHORT_RECORD, MMSYSERR_INVALPARAM},
        {OUT_PREPARE, NO_DATA, MMSYSERR_INVALPARAM},
        {OUT_LONG_MSG, NO_RECORD, MMSYSERR_INVALPARAM},
        {OUT_LONG_MSG, SHORT_RECORD, MMSYSERR_INVALPARAM},
        {OUT_LONG_MSG, NOT_PREPARED, MIDIERR_UNPREPARED},
        {OUT_UNPREPARE, NO_RECORD, MMSYSERR_INVALPARAM},
        {OUT_UNPREPARE, SHORT_RECORD, MMSYSERR_INVALPARAM},
        {IN_PREPARE, NO_RECORD, MMSYSERR_INVALPARAM},
        {IN_PREPARE, SHORT_RECORD, MMSYSERR_INVALPARAM},
        {IN_PREPARE, NO_DATA, MMSYSERR_INVALPARAM},
        {IN_ADD, NO_RECORD, MMSYSERR_INVALPARAM},
        {IN_ADD, SHORT_RECORD, MMSYSERR_INVALPARAM},
        {IN_ADD, NOT_PREPARED, MIDIERR_UNPREPARED},
        {IN_UNPREPARE, NO_RECORD, MMSYSERR_INVALPARAM},
        {IN_UNPREPARE, SHORT_RECORD, MMSYSERR_INVALPARAM},
    };
    for (const auto& Row : kRows) {
        SCOPED_TRACE(std::string(kCallNames[Row.eCall]) + ", header kind " +
                     std::to_string(Row.eHeader));
        EXPECT_EQ(Make(Row.eCall, Row.eHeader, hOut, hIn), Row.eExpected);
        // The handle is looked up first: on a handle of no open device the header is not read.
        EXPECT_EQ(Make(Row.eCall, Row.eHeader, HMIDIOUT{}, HMIDIIN{}), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(Header.dwFlags & MHDR_INQUEUE, 0u);
    }
    EXPECT_TRUE(Virtual.SentChunks(0).empty());
    EXPECT_EQ(Backend.midiInClose(hIn), MMSYSERR_NOERROR) << "a refused block was queued";
    hIn = HMIDIIN{};
}

TEST_F(HeaderChecks, a_header_that_passes_the_checks_reaches_the_device) {
    ASSERT_EQ(Make(OUT_PREPARE, NOT_PREPARED, hOut, hIn), MMSYSERR_NOERROR);
    EXPECT_EQ(Header.dwFlags, MHDR_PREPARED);
    Header.dwBufferLength = 3;
    ASSERT_EQ(Backend.midiOutLongMsg(hOut, &Header, sizeof(Header)), MMSYSERR_NOERROR);
    ASSERT_EQ(Virtual.SentChunks(0).size(), 1u);
    EXPECT_EQ(Virtual.SentChunks(0)[0], std::vector<uint8_t>({0xF0, 0x7E, 0xF7}));
    ASSERT_EQ(Backend.midiOutUnprepareHeader(hOut, &Header, sizeof(Header)), MMSYSERR_NOERROR);
    EXPECT_EQ(Header.dwFlags & MHDR_PREPARED, 0u);
}
