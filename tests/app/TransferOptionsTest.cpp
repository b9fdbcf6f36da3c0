#include <gtest/gtest.h>

#include "app/AppTexts.h"
#include "app/TransferOptions.h"

TEST(TransferOptions, the_time_between_packets_is_checked_against_its_range_and_blind_minimum) {
    struct tCase {
        int32_t iTyped;
        bool bBlind;
        int32_t iExpected;
        const char* szMessage;
        const char* szCaption;
    };
    const tCase aCases[] = {
        {150, false, 150, nullptr, nullptr},
        {151, false, 25, AppTexts::kIntervalOutOfRange, "Error..."},
        {5, false, 5, nullptr, nullptr},
        {4, false, 25, AppTexts::kIntervalOutOfRange, "Error..."},
        {24, true, 25, AppTexts::kIntervalTooShortForBlind, ""},
        {25, true, 25, nullptr, nullptr},
        {3, true, 25, AppTexts::kIntervalOutOfRange, "Error..."},  // only the range message
    };
    for (const tCase& Case : aCases) {
        const TransferOptions::tIntervalCheck Check =
            TransferOptions::CheckPacketInterval(Case.iTyped, Case.bBlind);
        EXPECT_EQ(Check.iInterval, Case.iExpected) << Case.iTyped;
        EXPECT_STREQ(Check.szMessage, Case.szMessage) << Case.iTyped;
        EXPECT_STREQ(Check.szCaption, Case.szCaption) << Case.iTyped;
    }
}
