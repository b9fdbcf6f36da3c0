#include <gtest/gtest.h>

#include <functional>

#include "app/AppTexts.h"
#include "app/TransferOptions.h"

TEST(TransferOptions, each_option_is_checked_against_its_range_and_falls_back_to_its_start_value) {
    using namespace TransferOptions;
    struct tCase {
        const char* szWhat;
        std::function<tOptionCheck()> Check;
        int32_t iExpected;
        const char* szMessage;
        const char* szCaption;
    };
    const tCase aCases[] = {
        {"packets 150", [] { return CheckPacketInterval(150, false); }, 150, nullptr, nullptr},
        {"packets 151", [] { return CheckPacketInterval(151, false); }, 25,
         AppTexts::kIntervalOutOfRange, "Error..."},
        {"packets 5", [] { return CheckPacketInterval(5, false); }, 5, nullptr, nullptr},
        {"packets 4", [] { return CheckPacketInterval(4, false); }, 25,
         AppTexts::kIntervalOutOfRange, "Error..."},
        {"packets 24 blind", [] { return CheckPacketInterval(24, true); }, 25,
         AppTexts::kIntervalTooShortForBlind, ""},
        {"packets 25 blind", [] { return CheckPacketInterval(25, true); }, 25, nullptr, nullptr},
        {"packets 3 blind: only the range message", [] { return CheckPacketInterval(3, true); }, 25,
         AppTexts::kIntervalOutOfRange, "Error..."},
        {"songs 1", [] { return CheckSongInterval(1); }, 1, nullptr, nullptr},
        {"songs 60000", [] { return CheckSongInterval(60000); }, 60000, nullptr, nullptr},
        {"songs 0", [] { return CheckSongInterval(0); }, 300, AppTexts::kSongIntervalOutOfRange,
         "Error..."},
        {"songs 60001", [] { return CheckSongInterval(60001); }, 300,
         AppTexts::kSongIntervalOutOfRange, "Error..."},
        {"songs -100", [] { return CheckSongInterval(-100); }, 300,
         AppTexts::kSongIntervalOutOfRange, "Error..."},
        {"time-out 1", [] { return CheckTimeOut(1); }, 1, nullptr, nullptr},
        {"time-out 0", [] { return CheckTimeOut(0); }, 1000, AppTexts::kTimeOutOutOfRange,
         "Error..."},
        {"time-out -1 (it would wait for ever)", [] { return CheckTimeOut(-1); }, 1000,
         AppTexts::kTimeOutOutOfRange, "Error..."},
    };
    for (const tCase& Case : aCases) {
        const tOptionCheck Check = Case.Check();
        EXPECT_EQ(Check.iValue, Case.iExpected) << Case.szWhat;
        EXPECT_STREQ(Check.szMessage, Case.szMessage) << Case.szWhat;
        EXPECT_STREQ(Check.szCaption, Case.szCaption) << Case.szWhat;
    }
}
