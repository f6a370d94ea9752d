#include "StringSink.h"

#include "transfer/CassConversion.h"
#include "transfer/GsiCoordinate.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace {

const std::string kHeader = "JOB,SITE1,1,COORDS,GSI,2\r\nline two\r\nline three\r\n";
const std::string kTree = "*410001+000000000000TREE \r\n";
const std::string kP12 = "*110002+0000000000000P12 81..00+0000000001234567 "
                         "82..00-0000000000045678 83..00+0000000000012345 \r\n";

// The data lives in a block of exactly its size, so that a read past its end
// is caught by the address sanitizer.
std::string Convert(std::string_view data) {
    auto block = std::make_unique<char[]>(data.size());
    std::copy(data.begin(), data.end(), block.get());
    StringSink sink;
    CassConversion(sink).Convert({block.get(), data.size()});
    return sink.text;
}

std::string Coordinate(std::string_view word) {
    std::string out;
    return GsiCoordinate::AppendValue(word, out) ? out : "<unreadable>";
}

std::string Block(const std::string& name, const std::string& words) {
    return "*110001+" + name + " " + (words.empty() ? "" : words + " ") + "\r\n";
}

TEST(CassConversion, ValueTableExampleGivesOnePointLine) {
    EXPECT_EQ(Convert(kHeader + kTree + kP12), "P12,1234.567,-45.678,12.345,TREE\r\n");
}

TEST(CassConversion, PointsAreSeparatedAndEndedByOneLineEnd) {
    const std::string second = "*110003+00000000000000P2 81..00+0000000000001000 "
                               "82..00+0000000000002000 83..00+0000000000003000 \r\n";
    EXPECT_EQ(Convert(kHeader + kTree + kP12 + second),
              "P12,1234.567,-45.678,12.345,TREE\r\nP2,1.000,2.000,3.000,TREE\r\n");
}

TEST(CassConversion, CodeIsTheLastCodeBlockSeenAndEmptyBeforeTheFirst) {
    const std::string data = kHeader + kP12 + kTree + kP12 + kP12 +
                             "*410004+000000000000KERB \r\n" + kP12 +
                             "*410005+0000000000000000 \r\n" + kP12;
    EXPECT_EQ(Convert(data), "P12,1234.567,-45.678,12.345,\r\n"
                             "P12,1234.567,-45.678,12.345,TREE\r\n"
                             "P12,1234.567,-45.678,12.345,TREE\r\n"
                             "P12,1234.567,-45.678,12.345,KERB\r\n"
                             "P12,1234.567,-45.678,12.345,\r\n");
}

TEST(CassConversion, BlocksWithoutCoordinatesOrNameKeepTheirShape) {
    const std::string data = kHeader + Block("00000000000000P1", "21.324+0000000012345678") +
                             Block("0000000000000000", "81..00+0000000000001000") +
                             Block("0000000000000000", "");
    EXPECT_EQ(Convert(data), "P1\r\n,1.000\r\n\r\n");
}

TEST(CassConversion, TheFirstThreeLinesAreSkippedWhateverTheyHold) {
    EXPECT_EQ(Convert(kP12 + kP12 + kP12 + kP12), "P12,1234.567,-45.678,12.345,\r\n");
    EXPECT_EQ(Convert(kHeader.substr(0, kHeader.size() - 2)), "\r\n");
    EXPECT_EQ(Convert(""), "\r\n");
}

TEST(CassConversion, UnreadableWordsKeepTheirColumns) {
    const std::string data =
        kHeader + kTree +
        Block("00000000000000P1", "81..02+0000000001234567 82..00+00000000012345678 "
                                  "83..00x0000000000000001");
    EXPECT_EQ(Convert(data), "P1,,,,TREE\r\n");
}

TEST(CassConversion, WordsAtTheVeryEndOfTheData) {
    const std::string closed =
        kHeader + kTree + "*110002+00000000000000P1 81..00+0000000000001000 ";
    EXPECT_EQ(Convert(closed), "P1,1.000\r\n");
    // Unclosed words and patterns cut off by the end are not taken.
    EXPECT_EQ(Convert(closed + "82..00+0000000000002000"), "P1,1.000\r\n");
    EXPECT_EQ(Convert(closed + "83."), "P1,1.000\r\n");
    EXPECT_EQ(Convert(closed + "8"), "P1,1.000\r\n");
    EXPECT_EQ(Convert(closed + "*1"), "P1,1.000\r\n");
    EXPECT_EQ(Convert(closed + "*11"), "P1,1.000\r\n\r\n");
    EXPECT_EQ(Convert(kHeader + "*41"), "\r\n");
}

TEST(CassConversion, OverLongWordsAreTakenWhole) {
    const std::string name(300, 'N');
    const std::string code(120, 'C');
    const std::string data =
        kHeader + "*410001+" + code + " \r\n" +
        Block("000" + name, "81..00+" + std::string(90, '1') + " 83..00+0000000000000001");
    EXPECT_EQ(Convert(data), name + ",,0.001," + code + "\r\n");
}

TEST(CassConversion, GsiEightWordsAndEveryUnitsDigit) {
    const std::string data =
        kHeader + kTree + Block("0000P7", "81..16+12345678 82..08-00000001 83..01+00001500");
    EXPECT_EQ(Convert(data), "P7,1234.5678,-0.00001,1.500,TREE\r\n");
}

TEST(CassConversion, StripKeepsWhatFollowsTheFirstPlusAndItsZeros) {
    EXPECT_EQ(CassConversion::Strip("*110001+0000000000000P12"), "P12");
    EXPECT_EQ(CassConversion::Strip("*110001+000000000000P0+1"), "P0+1");
    EXPECT_EQ(CassConversion::Strip("*110001+0000000000000000"), "");
    EXPECT_EQ(CassConversion::Strip("*110001-0000000000000P12"), "");
    EXPECT_EQ(CassConversion::Strip("+"), "");
}

TEST(GsiCoordinate, EveryUnitsDigitAndSign) {
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

TEST(GsiCoordinate, WordsThatAreNotCoordinatesAreRefused) {
    for (const char* word : {"81..02+0000000001234567", "81..03+01234567", "81..0.+01234567",
                             "81..09+01234567", "81..00 0000000001234567", "81..0001234567",
                             "81..00+0000000001234X67", "81..00+012345678", "81..00+1234567",
                             "81..00+00000000012345678", "81..00+", "81..0", ""}) {
        std::string out = "kept";
        EXPECT_FALSE(GsiCoordinate::AppendValue(word, out)) << word;
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

TEST(GsiCoordinate, MillimetreWordsMatchTheScanRuleByteForByte) {
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

} // namespace
