#include "legacyxfer/CaptureCheck.h"
#include "GsiSamples.h"

#include <gtest/gtest.h>

namespace {

struct CheckCase {
    const char* name;
    std::string bytes;
    std::vector<LineErrorMarks::Mark> marks;
    CaptureCounts counts;
    std::uint64_t notedLine; // the line that carries the first note; 0 for none
    const char* note;        // a piece of that note
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(CaptureCheckTest, CountsAndNotesEachLineWhereTheProblemIs) {
    const std::string job = GsiSamples::Job(5);
    const std::string gap = GsiSamples::Job(6, 4);
    const std::string wrap = GsiSamples::Block(9999) + GsiSamples::Block(10000);
    const std::uint64_t third = GsiSamples::Block(1).size() * 2 + 5;
    const std::vector<CheckCase> cases = {
        {"clean job", job, {}, {job.size(), 5, 5, 5, 0, 0, 0, 0}, 0, ""},
        {"block removed in the middle",
         gap,
         {},
         {gap.size(), 5, 5, 5, 1, 0, 0, 0},
         4,
         "jumps from 3 to 5: 1 block(s) lost"},
        {"numbers wrap after 9999", wrap, {}, {wrap.size(), 2, 2, 2, 0, 0, 0, 0}, 0, ""},
        {"CR alone", Replace(job, "\r\n", "\r"), {}, {job.size() - 5, 5, 5, 5, 0, 0, 0, 0}, 0, ""},
        {"LF alone, last line open",
         Replace(job, "\r\n", "\n").substr(0, job.size() - 6),
         {},
         {job.size() - 6, 5, 5, 5, 0, 0, 0, 0},
         0,
         ""},
        {"stray byte",
         Replace(job, "P3", "P\x7f"),
         {},
         {job.size(), 5, 4, 4, 0, 0, 0, 1},
         3,
         "byte 0x7F at column"},
        {"binary junk: one note per line, long lines in pieces",
         std::string(CaptureCheck::kMaxLine + 10, '\x01'),
         {},
         {CaptureCheck::kMaxLine + 10, 2, 0, 0, 0, 0, 0, CaptureCheck::kMaxLine + 10},
         1,
         "65536 bytes do not belong in a GSI line, the first 0x01 at column 1"},
        {"parity error on line 3",
         job,
         {{third, LineErrorMarks::Kind::BadByte}},
         {job.size(), 5, 5, 5, 0, 1, 0, 0},
         3,
         "parity or framing error at column 6"},
        {"a break after the last byte",
         job,
         {{job.size(), LineErrorMarks::Kind::Break}},
         {job.size(), 6, 5, 5, 0, 1, 0, 0},
         6,
         "a break on the line"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        CaptureCheck check;
        // In two pieces, split inside a line end where there is one.
        const std::size_t half = c.bytes.size() / 2;
        check.Take(std::string_view(c.bytes).substr(0, half), c.marks);
        check.Take(std::string_view(c.bytes).substr(half), {});
        check.Finish();
        const CaptureCounts& got = check.Counts();
        EXPECT_EQ(got.bytes, c.counts.bytes);
        EXPECT_EQ(got.lines, c.counts.lines);
        EXPECT_EQ(got.blocks, c.counts.blocks);
        EXPECT_EQ(got.points, c.counts.points);
        EXPECT_EQ(got.blockJumps, c.counts.blockJumps);
        EXPECT_EQ(got.lineErrors, c.counts.lineErrors);
        EXPECT_EQ(got.badBytes, c.counts.badBytes);
        const auto lines = check.TakeLines();
        const auto noted = std::find_if(lines.begin(), lines.end(),
                                        [](const CheckedLine& l) { return !l.notes.empty(); });
        if (c.notedLine == 0) {
            EXPECT_EQ(noted, lines.end());
            continue;
        }
        ASSERT_NE(noted, lines.end());
        EXPECT_EQ(noted->number, c.notedLine);
        EXPECT_NE(noted->notes.front().find(c.note), std::string::npos) << noted->notes.front();
    }
}

} // namespace
