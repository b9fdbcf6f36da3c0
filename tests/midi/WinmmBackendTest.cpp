#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "WinmmNativeConstants.h"
#include "midi/DeviceList.h"
#include "midi/MIDIInPort.h"
#include "midi/MIDIOutPort.h"
#include "midi/MidiErrorText.h"
#include "midi/winmm/WinmmBackend.h"
#include "midi/winmm/WinmmHeaders.h"

// The backend over the Windows multimedia services themselves. Where the tests run (Wine on a
// machine without sound hardware) the services report no devices: what can be proved is how the
// backend meets an empty system, and the header bookkeeping, which the services never see.

#define INTERFACE(Name) std::pair<const std::string, uint64_t>(#Name, Name)

TEST(WinmmConstants, every_name_the_interface_shares_with_windows_has_the_windows_value) {
    const std::map<std::string, uint64_t> Interface = {
        INTERFACE(MMSYSERR_NOERROR),
        INTERFACE(MMSYSERR_ERROR),
        INTERFACE(MMSYSERR_BADDEVICEID),
        INTERFACE(MMSYSERR_ALLOCATED),
        INTERFACE(MMSYSERR_INVALHANDLE),
        INTERFACE(MMSYSERR_NODRIVER),
        INTERFACE(MMSYSERR_NOMEM),
        INTERFACE(MMSYSERR_BADERRNUM),
        INTERFACE(MMSYSERR_INVALFLAG),
        INTERFACE(MMSYSERR_INVALPARAM),
        INTERFACE(MIDIERR_UNPREPARED),
        INTERFACE(MIDIERR_STILLPLAYING),
        INTERFACE(MIDIERR_NOTREADY),
        INTERFACE(MIDIERR_NODEVICE),
        INTERFACE(MAXERRORLENGTH),
        INTERFACE(MIM_OPEN),
        INTERFACE(MIM_CLOSE),
        INTERFACE(MIM_DATA),
        INTERFACE(MIM_LONGDATA),
        INTERFACE(MIM_ERROR),
        INTERFACE(MIM_LONGERROR),
        INTERFACE(MOM_OPEN),
        INTERFACE(MOM_CLOSE),
        INTERFACE(MOM_DONE),
        INTERFACE(MIM_MOREDATA),
        INTERFACE(CALLBACK_FUNCTION),
        INTERFACE(MHDR_DONE),
        INTERFACE(MHDR_PREPARED),
        INTERFACE(MHDR_INQUEUE),
        INTERFACE(MAXPNAMELEN),
        {"MIDI_MAPPER", kWinmmMidiMapper},
    };
    EXPECT_EQ(Interface, WinmmNativeConstants());
}

namespace {

class WinmmBackend : public ::testing::Test {
  protected:
    cWinmmBackend Backend;
    cScopedMidiBackend Installed{Backend};
};

}  // namespace

TEST_F(WinmmBackend, the_device_lists_are_the_services_own_and_a_number_past_them_is_refused) {
    const std::vector<std::string> Outs = MidiOutDeviceNames();
    const std::vector<std::string> Ins = MidiInDeviceNames();
    EXPECT_EQ(Outs.size(), Backend.midiOutGetNumDevs());
    EXPECT_EQ(Ins.size(), Backend.midiInGetNumDevs());
    for (const std::string& Name : Outs) {
        EXPECT_FALSE(Name.empty());
    }
    for (const std::string& Name : Ins) {
        EXPECT_FALSE(Name.empty());
    }
    // The MIDI mapper is a device number of the services, but no device of the lists.
    for (const uint32_t uiMissing : {static_cast<uint32_t>(Outs.size()), kWinmmMidiMapper}) {
        MIDIOUTCAPSW OutCaps{};
        EXPECT_EQ(Backend.midiOutGetDevCapsW(uiMissing, &OutCaps, sizeof(OutCaps)),
                  MMSYSERR_BADDEVICEID);
    }
    MIDIINCAPSW InCaps{};
    EXPECT_EQ(Backend.midiInGetDevCapsW(static_cast<uint32_t>(Ins.size()), &InCaps, sizeof(InCaps)),
              MMSYSERR_BADDEVICEID);
    EXPECT_EQ(Backend.midiInGetDevCapsW(0, nullptr, sizeof(InCaps)), MMSYSERR_INVALPARAM);
    EXPECT_EQ(Backend.midiInGetDevCapsW(0, &InCaps, sizeof(InCaps) - 1), MMSYSERR_INVALPARAM);
}

TEST_F(WinmmBackend, opening_a_missing_device_gives_bad_device_id_in_the_services_words) {
    const auto uiOutMissing = static_cast<uint32_t>(MidiOutDeviceNames().size());
    const auto uiInMissing = static_cast<uint32_t>(MidiInDeviceNames().size());
    for (const uint32_t uiDevice : {uiOutMissing, kWinmmMidiMapper}) {
        cMIDIOutPort Out;
        EXPECT_EQ(Out.OpenPort(uiDevice), MMSYSERR_BADDEVICEID) << uiDevice;
        Out.ClosePort();
    }
    for (const uint32_t uiDevice : {uiInMissing, kWinmmMidiMapper}) {
        cMIDIInPort In;
        EXPECT_EQ(In.OpenPort(uiDevice), MMSYSERR_BADDEVICEID) << uiDevice;
        EXPECT_EQ(In.GetInPortState(), MIDI_IN_CLOSED);
        In.ClosePort();
    }
    HMIDIOUT hOut{7};
    EXPECT_EQ(Backend.midiOutOpen(&hOut, uiOutMissing, nullptr, 0, CALLBACK_FUNCTION),
              MMSYSERR_BADDEVICEID);
    EXPECT_EQ(hOut, HMIDIOUT{});
    for (const std::string& Text :
         {MidiOutErrorText(MMSYSERR_BADDEVICEID), MidiInErrorText(MMSYSERR_BADDEVICEID)}) {
        EXPECT_FALSE(Text.empty());
        EXPECT_EQ(Text.find("MIDI error"), std::string::npos) << Text;
    }
}

TEST_F(WinmmBackend, a_handle_that_was_never_issued_is_refused_before_the_services_see_it) {
    MIDIHDR Header;
    uint8_t aucData[4] = {};
    Header.lpData = aucData;
    Header.dwBufferLength = sizeof(aucData);
    const HMIDIOUT hOut{42};
    EXPECT_EQ(Backend.midiOutPrepareHeader(hOut, &Header, sizeof(Header)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiOutLongMsg(hOut, &Header, sizeof(Header)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiOutUnprepareHeader(hOut, &Header, sizeof(Header)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiOutClose(hOut), MMSYSERR_INVALHANDLE);
    const HMIDIIN hIn{42};
    EXPECT_EQ(Backend.midiInPrepareHeader(hIn, &Header, sizeof(Header)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiInAddBuffer(hIn, &Header, sizeof(Header)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiInStart(hIn), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiInReset(hIn), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiInUnprepareHeader(hIn, &Header, sizeof(Header)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Backend.midiInClose(hIn), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(Header.dwFlags, 0u);
}

TEST_F(WinmmBackend, error_texts_are_the_services_own_cut_to_the_buffer) {
    char szText[MAXERRORLENGTH];
    ASSERT_EQ(Backend.midiOutGetErrorText(MMSYSERR_NODRIVER, szText, MAXERRORLENGTH),
              MMSYSERR_NOERROR);
    const std::string Full = szText;
    EXPECT_GT(Full.size(), 4u);
    char szShort[5];
    EXPECT_EQ(Backend.midiInGetErrorText(MMSYSERR_NODRIVER, szShort, sizeof(szShort)),
              MMSYSERR_NOERROR);
    EXPECT_EQ(std::string(szShort), Full.substr(0, 4));
    EXPECT_EQ(Backend.midiOutGetErrorText(12345, szText, MAXERRORLENGTH), MMSYSERR_BADERRNUM);
    EXPECT_STREQ(szText, "");
    EXPECT_EQ(Backend.midiInGetErrorText(MMSYSERR_NODRIVER, nullptr, 8), MMSYSERR_INVALPARAM);
}

// The bookkeeping of the Windows headers, with the services' calls played by the test.
namespace {

std::vector<tWinmmHeader*> gQueued;
uint32_t guiQueueResult = MMSYSERR_NOERROR;

uint32_t FakePrepare(tWinmmSide, tWinmmDevice, tWinmmHeader&) {
    return MMSYSERR_NOERROR;
}

uint32_t FakeQueue(tWinmmSide, tWinmmDevice, tWinmmHeader& Header) {
    if (guiQueueResult == MMSYSERR_NOERROR) {
        gQueued.push_back(&Header);
    }
    return guiQueueResult;
}

uint32_t FakeUnprepare(tWinmmSide, tWinmmDevice, tWinmmHeader&) {
    return MMSYSERR_NOERROR;
}

class WinmmHeaders : public ::testing::Test {
  protected:
    WinmmHeaders() {
        gQueued.clear();
        guiQueueResult = MMSYSERR_NOERROR;
        Record.lpData = aucData;
        Record.dwBufferLength = sizeof(aucData);
    }

    cWinmmHeaders Headers{WINMM_OUTPUT, {&FakePrepare, &FakeQueue, &FakeUnprepare}};
    uint8_t aucData[16] = {};
    MIDIHDR Record;
};

}  // namespace

TEST_F(WinmmHeaders, a_record_stays_held_until_the_callback_has_handed_it_back_marked_done) {
    ASSERT_EQ(Headers.Prepare(nullptr, &Record), MMSYSERR_NOERROR);
    EXPECT_EQ(Record.dwFlags, MHDR_PREPARED);
    ASSERT_EQ(Headers.Queue(nullptr, &Record), MMSYSERR_NOERROR);
    EXPECT_EQ(Record.dwFlags, MHDR_PREPARED | MHDR_INQUEUE);
    ASSERT_EQ(gQueued.size(), 1u);
    EXPECT_TRUE(Headers.AnyQueued());
    EXPECT_EQ(Headers.Unprepare(nullptr, &Record), MIDIERR_STILLPLAYING);
    EXPECT_EQ(Headers.Queue(nullptr, &Record), MIDIERR_STILLPLAYING);

    EXPECT_EQ(Headers.Returned(reinterpret_cast<uintptr_t>(gQueued[0])), &Record);
    EXPECT_EQ(Record.dwFlags, MHDR_PREPARED | MHDR_DONE);
    EXPECT_FALSE(Headers.AnyQueued());
    EXPECT_EQ(Headers.Unprepare(nullptr, &Record), MMSYSERR_NOERROR);
    EXPECT_EQ(Record.dwFlags, MHDR_DONE);
}

TEST_F(WinmmHeaders, a_record_the_services_refuse_or_that_was_not_prepared_is_not_held) {
    EXPECT_EQ(Headers.Queue(nullptr, &Record), MIDIERR_UNPREPARED);
    ASSERT_EQ(Headers.Prepare(nullptr, &Record), MMSYSERR_NOERROR);
    guiQueueResult = MIDIERR_NOTREADY;
    EXPECT_EQ(Headers.Queue(nullptr, &Record), MIDIERR_NOTREADY);
    EXPECT_EQ(Record.dwFlags, MHDR_PREPARED);
    EXPECT_FALSE(Headers.AnyQueued());
    EXPECT_EQ(Headers.Unprepare(nullptr, &Record), MMSYSERR_NOERROR);
    // Unpreparing again, or a record never prepared, is no fault.
    MIDIHDR Other;
    EXPECT_EQ(Headers.Unprepare(nullptr, &Record), MMSYSERR_NOERROR);
    EXPECT_EQ(Headers.Unprepare(nullptr, &Other), MMSYSERR_NOERROR);
}

TEST_F(WinmmHeaders, only_a_header_the_device_holds_in_the_queue_is_passed_on) {
    ASSERT_EQ(Headers.Prepare(nullptr, &Record), MMSYSERR_NOERROR);
    ASSERT_EQ(Headers.Queue(nullptr, &Record), MMSYSERR_NOERROR);
    const tWinmmHeaderPtr pStranger = MakeWinmmHeader(aucData, sizeof(aucData));
    EXPECT_EQ(Headers.Returned(reinterpret_cast<uintptr_t>(pStranger.get())), nullptr);
    EXPECT_EQ(Headers.Returned(0), nullptr);
    EXPECT_TRUE(Headers.AnyQueued());
    const uintptr_t dwQueued = reinterpret_cast<uintptr_t>(gQueued.at(0));
    EXPECT_EQ(Headers.Returned(dwQueued), &Record);
    // Handed back once; the same header again is no longer in the queue.
    EXPECT_EQ(Headers.Returned(dwQueued), nullptr);
}
