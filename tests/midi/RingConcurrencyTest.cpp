#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "MidiTestSupport.h"
#include "midi/MIDIInPort.h"

using MidiRing = VirtualMidiTest;

// The ring's producer (the port's callback, on the backend's input thread) and its consumer
// (the poller) run at once; built with ThreadSanitizer this also checks their ordering.
TEST_F(MidiRing, bytes_stored_by_the_callback_while_the_consumer_polls_arrive_whole_in_order) {
    constexpr size_t kMessages = 3000;
    constexpr size_t kMessageSize = 45;  // over two 32-byte blocks
    constexpr size_t kTotal = kMessages * kMessageSize;

    cMIDIInPort Port;
    Port.uiNumberOfBuffers = 32;
    Port.uiBlockSize = 32;
    ASSERT_EQ(Port.OpenPort(uiIn), MMSYSERR_NOERROR);

    // Message k carries data bytes counting up from k; its sender keeps what is in flight
    // within the ring's capacity, so nothing may be dropped.
    std::vector<uint8_t> Expected;
    for (size_t k = 0; k < kMessages; ++k) {
        const std::vector<uint8_t> Message = MakeSysex(kMessageSize, static_cast<uint8_t>(k));
        Expected.insert(Expected.end(), Message.begin(), Message.end());
    }
    std::atomic<size_t> uiConsumed{0};
    std::thread Producer([&] {
        for (size_t k = 0; k < kMessages; ++k) {
            const size_t uiSent = k * kMessageSize;
            while (uiSent + kMessageSize - uiConsumed.load() > cMIDIInPort::kRingSize - 1) {
                std::this_thread::yield();
            }
            Backend.DeliverInput(uiIn,
                                 {Expected.begin() + static_cast<long>(uiSent),
                                  Expected.begin() + static_cast<long>(uiSent + kMessageSize)});
        }
    });

    std::vector<uint8_t> Received;
    Received.reserve(kTotal);
    const bool bAllArrived = WaitUntil(
        [&] {
            const uint32_t uiCount = Port.GetStorageSize();
            for (uint32_t i = 0; i < uiCount; ++i) {
                Received.push_back(Port.GetStoredData());
            }
            uiConsumed.store(Received.size());
            return Received.size() >= kTotal;
        },
        std::chrono::milliseconds(60000));
    Producer.join();
    EXPECT_TRUE(bAllArrived) << Received.size() << " of " << kTotal << " bytes arrived";
    EXPECT_EQ(Received, Expected);
    Port.ClosePort();
}
