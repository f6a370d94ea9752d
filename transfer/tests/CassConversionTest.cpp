#include "StringSink.h"

#include "transfer/CassConversion.h"

#include <gtest/gtest.h>

#include <memory>
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

} // namespace
