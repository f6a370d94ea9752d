#include "fielddata/GsiWord.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

namespace {

std::string Coordinate(std::string_view word) {
    std::string out;
    return GsiWord::AppendValue(word, out) ? out : "<unreadable>";
}

TEST(GsiWord, TextKeepsWhatFollowsTheFirstPlusAndItsZeros) {
    EXPECT_EQ(GsiWord::ReadText("*110001+0000000000000P12"), "P12");
    EXPECT_EQ(GsiWord::ReadText("*110001+000000000000P0+1"), "P0+1");
    EXPECT_EQ(GsiWord::ReadText("*110001+0000000000000000"), "");
    EXPECT_EQ(GsiWord::ReadText("*110001-0000000000000P12"), "");
    EXPECT_EQ(GsiWord::ReadText("+"), "");
}

TEST(GsiWord, EveryUnitsDigitAndSign) {
    struct Case {
        const char* word;
        const char* value;
    };
    const Case cases[] = {
        {"81..00+0000000001234567", "1234.567"},
        {"82..00-0000000000045678", "-45.678"},
        {"83..00+0000000000012345", "12.345"},
        {"81..00+01234567", "1234.567"},
        {"81..10-01234567", "-1234.567"},
        {"81..01+0000000001234567", "1234.567"},
        {"81..01-00000001", "-0.001"},
        {"81..06+0000000001234567", "123.4567"},
        {"81..06-00000005", "-0.0005"},
        {"81..07+12345678", "1234.5678"},
        {"81..07-0000000000012345", "-1.2345"},
        {"81..08+0000000001234567", "12.34567"},
        {"81..08-0000000000000001", "-0.00001"},
        {"81..00-0000000000000000", "0.000"},
        {"81..08+00000000", "0.00000"},
        {"81...0+0000000000001000", "1.000"},
        {"81..00+0000003000000000", "3000000.000"},
        {"81..00-9999999999999999", "-9999999999999.999"},
        {"81..08+9999999999999999", "99999999999.99999"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Coordinate(c.word), c.value) << c.word;
    }
}

TEST(GsiWord, AnglesInEveryUnitsDigit) {
    struct Case {
        const char* word;
        std::optional<double> degrees;
    };
    const Case cases[] = {
        {"21.322+0000000010000000", 90},           // 100 gon
        {"21.322+39999999", 359.999991},           // 399.99999 gon
        {"22.323+0000000012345678", 123.45678},    // decimal degrees
        {"21.324+0000000012345305", 123.75847222}, // 123°45'30.5"
        {"21.324-09000000", -90},
        {"21.325+0000000016000000", 90},           // 1600 mil
        {"21.324+0000000012360000", std::nullopt}, // 60 minutes
        {"21.324+0000000012345600", std::nullopt}, // 60 seconds
        {"21.320+0000000012345678", std::nullopt}, // a length's units
        {"21.322+00000000123456X8", std::nullopt},
        {"21.322 0000000012345678", std::nullopt},
    };
    constexpr double kDegree = 3.14159265358979323846 / 180;
    for (const Case& c : cases) {
        const auto angle = GsiWord::ReadAngle(c.word);
        ASSERT_EQ(angle.has_value(), c.degrees.has_value()) << c.word;
        if (angle) {
            EXPECT_NEAR(*angle / kDegree, *c.degrees, 1e-7) << c.word;
        }
    }
}

TEST(GsiWord, WordsThatAreNotCoordinatesAreRefused) {
    for (const char* word : {"81..02+0000000001234567", "81..03+01234567", "81..0.+01234567",
                             "81..09+01234567", "81..00 0000000001234567", "81..0001234567",
                             "81..00+0000000001234X67", "81..00+012345678", "81..00+1234567",
                             "81..00+00000000012345678", "81..00+", "81..0", ""}) {
        std::string out = "kept";
        EXPECT_FALSE(GsiWord::AppendValue(word, out)) << word;
        EXPECT_EQ(out, "kept");
    }
}

// The value rule the point file used before coordinate words were read by
// their units digit, for comparing millimetre words with information "00".
std::optional<std::string> ScanValueRule(std::string_view word) {
    std::size_t at = word.find("00");
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    at += 2;
    bool negative = false;
    for (;; ++at) {
        if (at >= word.size()) {
            return std::nullopt;
        }
        if (word[at] == '-') {
            negative = true;
        } else if (word[at] != '0') {
            break;
        }
    }
    const auto value =
        static_cast<std::int32_t>(std::strtol(std::string(word.substr(at)).c_str(), nullptr, 10));
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value / (negative ? -1000.0 : 1000.0));
    return std::string(text);
}

TEST(GsiWord, MillimetreWordsMatchTheScanRuleByteForByte) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const bool gsi16 = i % 2 == 0;
        const std::uint64_t limit = gsi16 ? 2147483647u : 99999999u;
        std::uint64_t value = random() % (limit + 1);
        if (i % 7 == 0) {
            value = value % 1000; // many leading zeros
        }
        if (i < 4) {
            value = i < 2 ? 1 : limit;
        }
        char word[40];
        std::snprintf(word, sizeof word, "8%d..00%c%0*" PRIu64, 1 + i % 3, i % 3 == 0 ? '-' : '+',
                      gsi16 ? 16 : 8, value);
        const auto expected = ScanValueRule(word);
        if (value == 0 && word[6] == '-') {
            EXPECT_FALSE(expected.has_value()); // the scan lost "-0"; it reads as 0.000 now
            continue;
        }
        ASSERT_TRUE(expected.has_value()) << word;
        EXPECT_EQ(Coordinate(word), *expected) << word;
    }
}

TEST(GsiWord, WellFormedWordsAndTheirIndex) {
    struct Case {
        const char* word;
        bool wellFormed;
        std::optional<int> index;
    };
    const Case cases[] = {
        {"110001+0000P123", true, 11},
        {"110001+000000000000P123", true, 11},
        {"21.324-0000000030126544", true, 21},
        {"410001+TREE", false, 41},               // data shorter than 8
        {"81..00+000000001234567", false, 81},    // 15 data characters
        {"81..00 0000000001234567", false, 81},   // no sign
        {"*110001+0000P123", false, 11},          // block mark inside a block
        {"1x0001+0000P123", false, std::nullopt}, // no index
        {"110001+0000P\x01"
         "23",
         false, 11}, // control character
        {"", false, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GsiWord::IsWellFormed(c.word), c.wellFormed) << c.word;
        EXPECT_EQ(GsiWord::Index(c.word), c.index) << c.word;
    }
    EXPECT_EQ(GsiWord::Index("*410002+0000KERB"), 41);
}

TEST(GsiWord, WrittenWordsReadBackDigitForDigit) {
    for (const GsiWidth width : {GsiWidth::Gsi8, GsiWidth::Gsi16}) {
        for (const char units : {'0', '1', '6', '7', '8'}) {
            for (const bool negative : {false, true}) {
                const int places = GsiWord::PlacesOfUnits(units);
                const FixedDecimal value(12345678, places, negative);
                const auto word = GsiWord::WriteLength(std::string("83..0") + units, value, width);
                ASSERT_TRUE(word.has_value());
                EXPECT_EQ(word->size(), 7 + static_cast<std::size_t>(width)) << *word;
                const auto back = GsiWord::ReadLength(*word);
                ASSERT_TRUE(back.has_value()) << *word;
                EXPECT_EQ(back->Digits(), value.Digits()) << *word;
                EXPECT_EQ(back->Places(), places) << *word;
                EXPECT_EQ(back->Negative(), negative) << *word;
            }
        }
        const auto name = GsiWord::WriteText("110042", "P7", width);
        ASSERT_TRUE(name.has_value());
        EXPECT_TRUE(GsiWord::IsWellFormed(*name)) << *name;
        EXPECT_EQ(GsiWord::ReadText(*name), "P7");
    }
    EXPECT_EQ(GsiWord::WriteText("110001", "P7", GsiWidth::Gsi8), "110001+000000P7");
    EXPECT_EQ(GsiWord::WriteLength("81..00", FixedDecimal(1234567, 3, true), GsiWidth::Gsi16),
              "81..00-0000000001234567");
    // Refused: text or digits wider than the word, places that are not the units', a bad head.
    EXPECT_FALSE(GsiWord::WriteText("110001", "NINECHARS", GsiWidth::Gsi8));
    EXPECT_FALSE(GsiWord::WriteLength("81..00", FixedDecimal(123456789, 3, false), GsiWidth::Gsi8));
    EXPECT_FALSE(GsiWord::WriteLength("81..06", FixedDecimal(1, 3, false), GsiWidth::Gsi8));
    EXPECT_FALSE(GsiWord::WriteLength("81..02", FixedDecimal(1, 0, false), GsiWidth::Gsi8));
    EXPECT_FALSE(GsiWord::WriteText("11001", "P7", GsiWidth::Gsi8));
    EXPECT_FALSE(GsiWord::WriteText("11000+", "P7", GsiWidth::Gsi16)); // would read "+000...P7"
}

TEST(GsiWord, LengthsTakeTheCoarsestUnitsOfTheirKindThatHoldThem) {
    struct Case {
        const char* head;
        const char* value;
        GsiWidth width;
        const char* word;
    };
    const Case cases[] = {
        {"81..10", "1234.5", GsiWidth::Gsi16, "81..10+0000000001234500"},
        {"81..00", "-0.1234", GsiWidth::Gsi8, "81..06-00001234"},
        {"83..06", "12.34567", GsiWidth::Gsi16, "83..08+0000000001234567"},
        {"83..08", "7", GsiWidth::Gsi8, "83..00+00007000"},
        {"82..01", "1.2345", GsiWidth::Gsi8, "82..07+00012345"},
        {"82..17", "3", GsiWidth::Gsi8, "82..11+00003000"},
        {"81..00", "1.000001", GsiWidth::Gsi16, ""}, // more than 5 places
        {"81..01", "1.00001", GsiWidth::Gsi16, ""},  // feet: more than 4
        {"81..00", "100000", GsiWidth::Gsi8, ""},    // 9 digits
        {"21.324", "1.5", GsiWidth::Gsi16, ""},      // an angle
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            GsiWord::WriteLengthIn(c.head, *FixedDecimal::Parse(c.value), c.width).value_or(""),
            c.word)
            << c.head << " " << c.value;
    }
}

} // namespace
