#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "cli/Interrupt.h"

// Ctrl-C reaches a Windows program through its console, and Wine gives a program a console only
// on a terminal: the test is left out of the suite and run on a pseudo-terminal by a CTest test
// of its own (tests/cli/CMakeLists.txt).
TEST(InterruptConsole, DISABLED_ctrl_c_while_the_guard_lives_only_raises_the_flag_for_status_130) {
    ASSERT_NE(GetConsoleWindow(), nullptr) << "no console";
    for (int iTime = 0; iTime < 2; ++iTime) {
        const cInterruptGuard Guard;
        EXPECT_FALSE(InterruptRequested());
        ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
        // The system calls the handler on a thread of its own.
        const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!InterruptRequested() && std::chrono::steady_clock::now() < Limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(InterruptRequested());  // and the test process lives on
        EXPECT_EQ(InterruptStatus(), 130);
    }
}
