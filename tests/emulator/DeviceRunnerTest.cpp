#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "DeviceDriver.h"
#include "TempDir.h"
#include "emulator/DeviceRunner.h"

namespace {

// Collects what the runner sends, and lets the test wait for a number of replies.
class cSentReplies {
  public:
    void Add(const std::vector<uint8_t>& aucMessage) {
        const std::lock_guard<std::mutex> Lock(Mutex);
        Sent.push_back(DescribeReply({aucMessage, 0}));
        Changed.notify_all();
    }
    std::vector<std::string> WaitFor(size_t uiCount) {
        std::unique_lock<std::mutex> Lock(Mutex);
        Changed.wait_for(Lock, std::chrono::seconds(10), [&] { return Sent.size() >= uiCount; });
        return Sent;
    }

  private:
    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<std::string> Sent;
};

// A device in a folder of its own behind a runner, with what it sends and reports written down.
// The report lines are read only after the runner stopped.
struct tRunnerRig {
    explicit tRunnerRig(tTavDeviceOptions Options = {}, tWireOptions Wire = {})
        : Device(StoringIn(Folder, std::move(Options))), Wire(Wire) {}

    TempDir Folder;
    cTavDevice Device;
    tWireOptions Wire;
    cSentReplies Sent;
    std::vector<std::string> Lines;
    cDeviceRunner Runner{Device,
                         [this](const std::vector<uint8_t>& aucMessage) { Sent.Add(aucMessage); },
                         [this](const std::string& Line) { Lines.push_back(Line); }, Wire};
};

}  // namespace

TEST(DeviceRunner, replies_leave_in_the_order_they_fall_due) {
    tRunnerRig Rig({.iWaitAt = 1, .uiWaitMs = 50});
    for (const FileDump::Bytes& Message : FileDump::WholeFile("SONG", FileDump::SongBytes(5))) {
        Rig.Runner.PostMessage(Message.data(), Message.size());
    }
    EXPECT_EQ(Rig.Sent.WaitFor(3), (std::vector<std::string>{"ACK 0", "WAIT 1", "ACK 1"}));
    Rig.Runner.Stop();
    EXPECT_EQ(Rig.Lines,
              std::vector<std::string>{"file \"SONG\": bytes 5, data packets 1, resends 0: ok"});
    EXPECT_EQ(ReadAll(Rig.Folder / "SONG.x10"), FileDump::SongBytes(5));
}

TEST(DeviceRunner, stopping_drops_replies_not_yet_due_and_later_messages) {
    tRunnerRig Rig({.uiReplyDelayMs = 60000});
    const FileDump::Bytes Header = FileDump::Header("SONG", 5);
    Rig.Runner.PostMessage(Header.data(), Header.size());
    Rig.Runner.Stop();
    const FileDump::Bytes Packet = FileDump::DataPacket(1, FileDump::SongBytes(5));
    Rig.Runner.PostMessage(Packet.data(), Packet.size());
    EXPECT_TRUE(Rig.Sent.WaitFor(0).empty());
    // The header was taken before the stop; the packet after it was not.
    EXPECT_EQ(Rig.Device.SwitchOff().ReportLines,
              std::vector<std::string>{"file \"SONG\": bytes 0, data packets 0, resends 0: cut "
                                       "short when the emulator stopped, after 0 of 5 bytes"});
}

TEST(DeviceRunner, a_sysex_left_without_its_end_does_not_swallow_the_messages_after_it) {
    tRunnerRig Rig;
    // As a MIDI API may deliver them: a cut-off packet, a note, and the header, in one piece.
    FileDump::Bytes Delivery{0xF0, 0x7E, 0x23, 0x07, 0x02, 0x90, 0x3C, 0x7F};
    const FileDump::Bytes Header = FileDump::Header("SONG", 5);
    Delivery.insert(Delivery.end(), Header.begin(), Header.end());
    Rig.Runner.PostMessage(Delivery.data(), Delivery.size());
    EXPECT_EQ(Rig.Sent.WaitFor(1), std::vector<std::string>{"ACK 0"});
    Rig.Runner.Stop();
    EXPECT_EQ(Rig.Lines,
              (std::vector<std::string>{
                  "ignored: data packet outside a file: F0 7E 23 07 02",
                  "ignored: not a System Exclusive message: 90 3C 7F"}));
}

TEST(DeviceRunner, a_wire_delays_bytes_both_ways_and_what_its_buffer_loses_counts_on_the_file) {
    tRunnerRig Rig({}, {.BaudRate = 31250, .BufferSize = 64});
    // Header, data packet and end-of-file message at once: 162 bytes, of which the wire takes
    // 65 (one on the wire, 64 held), the header and the packet's first 46 bytes.
    FileDump::Bytes Delivery;
    for (const FileDump::Bytes& Message : FileDump::WholeFile("SONG", FileDump::SongBytes(112))) {
        Delivery.insert(Delivery.end(), Message.begin(), Message.end());
    }
    const auto Posted = std::chrono::steady_clock::now();
    Rig.Runner.PostMessage(Delivery.data(), Delivery.size());
    EXPECT_EQ(Rig.Sent.WaitFor(1), std::vector<std::string>{"ACK 0"});
    // The 65 bytes in and the reply's 6 out, 320 us each, at the least.
    EXPECT_GE(std::chrono::steady_clock::now() - Posted, std::chrono::microseconds(71 * 320));
    Rig.Runner.Stop();
    EXPECT_EQ(Rig.Device.SwitchOff().ReportLines,
              (std::vector<std::string>{
                  "file \"SONG\": bytes 0, data packets 0, resends 0: cut short when the emulator "
                  "stopped, after 0 of 112 bytes; wire lost 97 bytes",
                  "wire lost 97 bytes in all"}));
}
