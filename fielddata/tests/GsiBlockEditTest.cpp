#include "fielddata/GsiBlockEdit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(GsiBlockEdit, BlocksChangeWidthWordByWord) {
    struct Case {
        std::string text;
        GsiWidth width;
        std::optional<std::string> result;
        std::string reason;
    };
    const Case cases[] = {
        {"110001+000000P1 81..00-01234567  21.324+09000000 ", GsiWidth::Gsi16,
         "*110001+00000000000000P1 81..00-0000000001234567  21.324+0000000009000000 ", ""},
        {"*110001+00000000000000P1 81..06+0000000001234567 ", GsiWidth::Gsi8,
         "110001+000000P1 81..06+01234567 ", ""},
        {"  *410002+000000000000TREE", GsiWidth::Gsi16, "  *410002+000000000000TREE", ""},
        {"*110001+0000000LONGNAME9 81..00+0000000001234567 ", GsiWidth::Gsi8, std::nullopt,
         "\"110001+0000000LONGNAME9\" holds more than GSI-8 can"},
        {"*110001+00000000000000P1 81..00+0000000123456789 ", GsiWidth::Gsi8, std::nullopt,
         "\"81..00+0000000123456789\" holds more than GSI-8 can"},
        {"not a block", GsiWidth::Gsi8, std::nullopt, "\"not\" is not a GSI word"},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(GsiBlockEdit::InWidth(c.text, c.width, reason), c.result) << c.text;
        EXPECT_EQ(reason, c.reason) << c.text;
    }
}

TEST(GsiBlockEdit, NumbersHeadsAndTheJobHeader) {
    EXPECT_EQ(GsiBlockEdit::BlockNumber("*110042+00000000000000P1 "), 42);
    EXPECT_EQ(GsiBlockEdit::BlockNumber("81..00+01234567 "), 0);
    EXPECT_EQ(GsiBlockEdit::BlockNumber("junk"), 0);
    EXPECT_EQ(GsiBlockEdit::NumberedHead("11", 3), "110003");
    EXPECT_EQ(GsiBlockEdit::NumberedHead("41", 12345), "412345");
    EXPECT_EQ(GsiBlockEdit::JobHeader("SITE", "14052024", GsiWidth::Gsi8),
              "130000+0000SITE \r\n19....+14052024 \r\n");
    EXPECT_EQ(GsiBlockEdit::JobHeader("SITE", "14052024", GsiWidth::Gsi16),
              "*130000+000000000000SITE \r\n*19....+0000000014052024 \r\n");
    EXPECT_EQ(GsiBlockEdit::JobHeader("NINECHARS", "14052024", GsiWidth::Gsi8), std::nullopt);
    // Replacements and insertions at one place, applied from the end.
    EXPECT_EQ(GsiBlockEdit::Applied("abcdef", {{1, 0, "X"}, {1, 2, "YZ"}, {5, 1, ""}}), "aXYZde");
}

} // namespace
