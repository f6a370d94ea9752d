#include "catalogue/ListLine.h"

#include <gtest/gtest.h>

using Fields = std::vector<std::u16string>;

TEST(ListLine, SplitKeepsEmptyFieldsAndTheLineEndOfTheLastField) {
    EXPECT_EQ(ListLine::Split(u"A,,B\r\n", 6), (Fields{u"A", u"", u"B\r\n"}));
    EXPECT_EQ(ListLine::Split(u"", 6), (Fields{u""}));
    EXPECT_EQ(ListLine::Split(u",", 6), (Fields{u"", u""}));
}

TEST(ListLine, SplitStopsAtTheFieldLimit) {
    EXPECT_EQ(ListLine::Split(u"1,2,3,4,5,6,7,8\r\n", 6),
              (Fields{u"1", u"2", u"3", u"4", u"5", u"6"}));
    EXPECT_EQ(ListLine::Split(u"1,2,3,4,5,6,7,8,9,10,11", 10).size(), 10U);
}

TEST(ListLine, ReadDecimalTakesLeadingDigitsOnly) {
    EXPECT_EQ(ListLine::ReadDecimal(u"12"), 12);
    EXPECT_EQ(ListLine::ReadDecimal(u"  -7x"), -7);
    EXPECT_EQ(ListLine::ReadDecimal(u"+30\r\n"), 30);
    EXPECT_EQ(ListLine::ReadDecimal(u"x12"), 0);
    EXPECT_EQ(ListLine::ReadDecimal(u""), 0);
    // A very long digit run saturates instead of overflowing.
    EXPECT_GT(ListLine::ReadDecimal(std::u16string(60, u'9')), 0);
}

TEST(ListLine, WithoutLineEndRemovesOnlyTrailingBreaks) {
    EXPECT_EQ(ListLine::WithoutLineEnd(u"a\r\nb\r\n"), u"a\r\nb");
    EXPECT_EQ(ListLine::WithoutLineEnd(u"\r\n"), u"");
}
