#include "platform/CQelComToolse.h"

#include <gtest/gtest.h>

TEST(ReturnEndFlagPos, LineLengthIsResultPlusThree) {
    const char data[] = "0137/0001\r\nrest";
    const int p = CQelComToolse::ReturnEndFlagPos(data, 15, "\r\n");
    EXPECT_EQ(p, 8);
    EXPECT_EQ(p + 3, 11);
}

TEST(ReturnEndFlagPos, EmptyLineGivesMinusOne) {
    EXPECT_EQ(CQelComToolse::ReturnEndFlagPos("\r\nX", 3, "\r\n"), -1);
}

TEST(ReturnEndFlagPos, MissingOrCutMarkIsBelowMinusOne) {
    EXPECT_LT(CQelComToolse::ReturnEndFlagPos("abc\r", 4, "\r\n"), -1);
    // The mark lies beyond the length searched.
    EXPECT_LT(CQelComToolse::ReturnEndFlagPos("abc\r\n", 4, "\r\n"), -1);
    EXPECT_LT(CQelComToolse::ReturnEndFlagPos("", 0, "\r\n"), -1);
    EXPECT_LT(CQelComToolse::ReturnEndFlagPos(nullptr, 5, "\r\n"), -1);
}

TEST(ReturnEndFlagPos, FindsTheFirstMarkAndSeesPastNulBytes) {
    const char data[] = {'a', '\0', '\r', '\n', 'b', '\r', '\n'};
    EXPECT_EQ(CQelComToolse::ReturnEndFlagPos(data, 7, "\r\n"), 1);
}
