// Alignment files kept line by line: read and written back byte for byte,
// edits touching only their own line, and lines that cannot be read named.

#include "routebook/AlignmentFiles.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

struct BytesCase {
    const char* name;
    std::string bytes;
    std::size_t records;
    std::size_t unread;
};

TEST(AlignmentFile, ReadsAndWritesBackEveryLayoutByteForByte) {
    const BytesCase cases[] = {
        {"crlf", "START,0.000,1250.000,2480.000,52.3140\r\nSTRAIGHT,120.000\r\n", 2, 0},
        {"lf without final end", "START,0,0,0,0\nARC,10,-50", 2, 0},
        {"cr alone", "START,0,0,0,0\rSPIRAL,10,50\r", 2, 0},
        {"blank and stray lines", "START,0,0,0,0\r\n\r\n  \r\nBOGUS,1\r\nARC,x,5\r\n\xff\x01", 1,
         3},
        {"mixed ends", "START,0,0,0,0\r\nSTRAIGHT,1\nSTRAIGHT,2\rSTRAIGHT,3", 4, 0},
    };
    for (const BytesCase& c : cases) {
        const HalFile file = HalFile::Read(c.bytes);
        EXPECT_EQ(file.Bytes(), c.bytes) << c.name;
        EXPECT_EQ(file.Records().size(), c.records) << c.name;
        EXPECT_EQ(file.Unreadable().size(), c.unread) << c.name;
    }
    const ValFile val = ValFile::Read("PVI,0.000,312.500,0.000\r\nPVI,150,318.2\r\n");
    EXPECT_EQ(val.Records().size(), 1u);
    ASSERT_EQ(val.Unreadable().size(), 1u);
    EXPECT_EQ(val.Unreadable()[0].line, 2u);
    EXPECT_EQ(val.Unreadable()[0].reason, "PVI takes 3 numbers");
}

TEST(AlignmentFile, EditsRewriteOnlyTheirLineAndKeepTheFilesLineEnds) {
    const std::string text = "START,0.0,1,2,0\nBOGUS\nSTRAIGHT,5.0\nARC,3,7";
    HalElement arc;
    arc.kind = HalElement::Kind::Arc;
    arc.length = 10;
    arc.radius = -25.5;
    struct Edit {
        const char* name;
        void (*apply)(HalFile&, const HalElement&);
        std::string expected;
    };
    const Edit edits[] = {
        {"replace", [](HalFile& f, const HalElement& e) { f.Replace(1, e); },
         "START,0.0,1,2,0\nBOGUS\nARC,10.000,-25.500\nARC,3,7"},
        {"insert in the middle", [](HalFile& f, const HalElement& e) { f.Insert(1, e); },
         "START,0.0,1,2,0\nBOGUS\nARC,10.000,-25.500\nSTRAIGHT,5.0\nARC,3,7"},
        {"append after a last line without end",
         [](HalFile& f, const HalElement& e) { f.Insert(3, e); },
         "START,0.0,1,2,0\nBOGUS\nSTRAIGHT,5.0\nARC,3,7\nARC,10.000,-25.500"},
        {"remove the last", [](HalFile& f, const HalElement&) { f.Remove(2); },
         "START,0.0,1,2,0\nBOGUS\nSTRAIGHT,5.0"},
    };
    for (const Edit& edit : edits) {
        HalFile file = HalFile::Read(text);
        edit.apply(file, arc);
        EXPECT_EQ(file.Bytes(), edit.expected) << edit.name;
        EXPECT_EQ(HalFile::Read(file.Bytes()).Records().size(), file.Records().size()) << edit.name;
        EXPECT_EQ(file.Unreadable().at(0).line, 2u) << edit.name;
    }
}

TEST(AlignmentFile, BearingsAreDegreesMinutesSeconds) {
    std::string error;
    const auto start = HalElement::Parse("START,0,0,0,52.3140", error);
    ASSERT_TRUE(start);
    EXPECT_NEAR(start->bearing, (52 + 31 / 60.0 + 40 / 3600.0) * std::numbers::pi / 180, 1e-12);
    EXPECT_EQ(start->Format(), "START,0.000,0.000,0.000,52.3140");
    for (const char* bad : {"START,0,0,0,12.6000", "START,0,0,0,12.0060", "START,0,0,0,-1"}) {
        EXPECT_FALSE(HalElement::Parse(bad, error)) << bad;
        EXPECT_EQ(error, "the bearing is not an angle in DDD.MMSS") << bad;
    }
}

} // namespace
