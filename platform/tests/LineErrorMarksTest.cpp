#include "platform/LineErrorMarks.h"

#include <gtest/gtest.h>

namespace {

using Kind = LineErrorMarks::Kind;

struct MarkCase {
    const char* name;
    std::vector<std::string> bursts;
    std::string data;
    std::vector<std::pair<std::uint64_t, Kind>> marks;
};

// The driver's marks may fall across burst boundaries; the bytes must come
// out exactly as they were on the line.
TEST(LineErrorMarksTest, DecodesMarksAcrossBursts) {
    const std::vector<MarkCase> cases = {
        {"plain", {"AB\r\n"}, "AB\r\n", {}},
        {"doubled FF is one data byte",
         {std::string("A\xff\xff") + "B"},
         "A\xff"
         "B",
         {}},
        {"doubled FF split",
         {"A\xff", "\xff"
                   "B"},
         "A\xff"
         "B",
         {}},
        {"bad byte", {std::string("AB\xff\0", 4) + "C" + "D"}, "ABCD", {{2, Kind::BadByte}}},
        {"bad byte split after FF 00",
         {std::string("A\xff\0", 3), "ZQ"},
         "AZQ",
         {{1, Kind::BadByte}}},
        {"break carries no byte", {std::string("A\xff\0\0", 4) + "B"}, "AB", {{1, Kind::Break}}},
        {"unknown escape kept",
         {"A\xff"
          "B"},
         "A\xff"
         "B",
         {}},
        {"lone FF at the end", {"A\xff"}, "A\xff", {}},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        LineErrorMarks decoder;
        std::string data;
        std::vector<LineErrorMarks::Mark> marks;
        for (const std::string& burst : c.bursts) {
            decoder.Take(burst, data, marks);
        }
        decoder.Finish(data);
        EXPECT_EQ(data, c.data);
        ASSERT_EQ(marks.size(), c.marks.size());
        for (std::size_t i = 0; i < marks.size(); ++i) {
            EXPECT_EQ(marks[i].offset, c.marks[i].first);
            EXPECT_EQ(marks[i].kind, c.marks[i].second);
        }
    }
}

} // namespace
