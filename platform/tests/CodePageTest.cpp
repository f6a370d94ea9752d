#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, EveryByteSurvivesARoundTripInTheDefaultCodePage) {
    const CodePage cp("");
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::u16string wide = cp.ToWide(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(cp.ToAnsi(wide), all);
}

TEST(CodePage, HighBytesMapToTheirWindows1252Characters) {
    const CodePage cp("cp1252");
    EXPECT_EQ(cp.ToWide("\x80\x9F\xE9"), u"\u20AC\u0178\u00E9");
    // The five undefined bytes keep their control values.
    EXPECT_EQ(cp.ToWide("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(cp.ToAnsi(u"\u20AC\u2122"), "\x80\x99");
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    const CodePage cp("WINDOWS-1252");
    EXPECT_EQ(cp.ToAnsi(u"A\u4E2DB\u0080"), "A?B?");
}

TEST(CodePage, NamedCodePagesGoThroughIconv) {
    const CodePage gbk("GBK");
    EXPECT_FALSE(gbk.IsBuiltIn());
    const std::string bytes = gbk.ToAnsi(u"\u4E2D1");
    EXPECT_EQ(bytes, "\xD6\xD0"
                     "1");
    EXPECT_EQ(gbk.ToWide(bytes), u"\u4E2D1");
    // A broken double-byte sequence does not stop the conversion.
    EXPECT_EQ(gbk.ToWide("A\xD6"), u"A\uFFFD");
    EXPECT_EQ(gbk.ToAnsi(u"x\u20ACy").front(), 'x');
}
