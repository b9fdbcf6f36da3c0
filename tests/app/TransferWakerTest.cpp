#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "app/TransferWaker.h"
#include "midi/MIDIInPort.h"
#include "midi/MidiBackend.h"
#include "midi/virtual/VirtualMidiBackend.h"

namespace {

using tClock = cTransferWaker::tClock;
// Long enough for any machine; a wait that works ends far sooner.
constexpr auto kPatience = std::chrono::seconds(20);

}  // namespace

TEST(TransferWaker, a_wake_ends_the_next_wait_once_whenever_it_came) {
    cTransferWaker Waker;
    EXPECT_FALSE(Waker.WaitUntil(tClock::now()));
    int iForwarded = 0;
    Waker.SetForward([&iForwarded] { ++iForwarded; });
    Waker.Wake();
    EXPECT_TRUE(Waker.WaitUntil(tClock::now() + kPatience));
    EXPECT_FALSE(Waker.WaitUntil(tClock::now()));  // used up
    Waker.SetForward(nullptr);
    Waker.Wake();
    EXPECT_EQ(iForwarded, 1);
}

// The input callback wakes the transfer's waker while asked to, and only then.
TEST(TransferWaker, input_stored_by_the_midi_callback_wakes_the_transfer) {
    cVirtualMidiBackend Backend;
    cScopedMidiBackend Installed(Backend);
    const uint32_t uiIn = Backend.AddInDevice("TAV in");
    cMIDIInPort Port;
    Port.uiNumberOfBuffers = 4;
    Port.uiBlockSize = 32;
    ASSERT_EQ(Port.OpenPort(uiIn), MMSYSERR_NOERROR);
    TransferWaker().WaitUntil(tClock::now());  // nothing left from before
    for (const bool bWake : {true, false}) {
        SCOPED_TRACE(bWake);
        WakeTransferOnInput(bWake);
        Backend.DeliverInput(uiIn, {0xF0, 0x7E, 0x42, 0x7F, 0x00, 0xF7});
        Backend.WaitForInput();
        EXPECT_EQ(TransferWaker().WaitUntil(bWake ? tClock::now() + kPatience : tClock::now()),
                  bWake);
    }
    Port.ClosePort();
}
