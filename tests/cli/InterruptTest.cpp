#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "CliRun.h"
#include "TestSongs.h"
#include "cli/Interrupt.h"

// Windows has no such signals: its console's Ctrl-C is tested in InterruptConsoleTest.cpp.
#ifndef _WIN32
TEST(Interrupt, a_signal_while_the_guard_lives_only_raises_the_flag_and_decides_the_status) {
    const std::pair<int, int> aSignals[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& [iSignal, iStatus] : aSignals) {
        const cInterruptGuard Guard;
        EXPECT_FALSE(InterruptRequested());
        std::raise(iSignal);  // the test process lives on: the guard caught it
        EXPECT_TRUE(InterruptRequested());
        std::raise(SIGINT);  // a second signal does not change the status
        EXPECT_EQ(InterruptStatus(), iStatus);
    }
}
#endif

TEST(Interrupt, an_interrupted_convert_keeps_no_x10_file_of_a_song_it_had_not_finished) {
    TempDir Folder;
    // Long enough that the interrupt comes while it is being converted.
    const std::filesystem::path Big = TestSongs::Format0(Folder, "big.mid", 400000);
    const std::filesystem::path Small = TestSongs::Format0(Folder, "small.mid");
    std::thread Interrupter([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        RequestInterrupt(SIGTERM);
    });
    const tRun Result = RunCli({"convert", Big.string(), Small.string()});
    Interrupter.join();
    EXPECT_EQ(Result.iStatus, 143);
    EXPECT_EQ(Result.Out, "");
    EXPECT_FALSE(std::filesystem::exists(TestSongs::X10PathOf(Big)));
    EXPECT_FALSE(std::filesystem::exists(TestSongs::X10PathOf(Small)));
}
