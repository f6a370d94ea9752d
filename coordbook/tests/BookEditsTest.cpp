#include "BookSamples.h"

#include "coordbook/BookEdits.h"
#include "coordbook/NameOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string Own(const PointBook& book) {
    return BookSamples::Write(book, book.Format()).bytes;
}

const std::string kNoName = "*81..00+0000000000001000 82..00-0000000000002000\r\n";

TEST(BookEdits, AnEditChangesOnlyItsOwnLine) {
    struct Case {
        const char* file;
        std::size_t row;
        BookColumn column;
        std::u16string text;
        std::string line; // the edited line as written, without its line end
    };
    const Case cases[] = {
        {"demo.gsi", 0, BookColumn::Name, u"B1A",
         "*110002+0000000000000B1A 81..00+0000000001843058 82..00+0000000001828036 "
         "83..00+0000000000352908 "},
        {"demo.gsi", 0, BookColumn::East, u"1843.0585",
         "*110002+00000000000000B1 81..06+0000000018430585 82..00+0000000001828036 "
         "83..00+0000000000352908 "},
        {"demo.gsi", 0, BookColumn::North, u"-1",
         "*110002+00000000000000B1 81..00+0000000001843058 82..00-0000000000001000 "
         "83..00+0000000000352908 "},
        {"demo.gsi", 0, BookColumn::Height, u"",
         "*110002+00000000000000B1 81..00+0000000001843058 82..00+0000000001828036 "},
        {"noname.gsi", 0, BookColumn::Name, u"N1",
         "*110000+00000000000000N1 81..00+0000000000001000 82..00-0000000000002000"},
        {"noname.gsi", 0, BookColumn::Height, u"-0.5",
         "*81..00+0000000000001000 82..00-0000000000002000 83..00-0000000000000500"},
        {"mixed.dat", 1, BookColumn::Height, u"1.5", "P2,3.50,-4,1.5,A,B"},
        {"mixed.dat", 0, BookColumn::Code, u"\u00C4RGER", "P1,1,2,,\xC4RGER"},
    };
    BookSamples samples;
    for (const Case& c : cases) {
        const std::string file = std::string(c.file) == "demo.gsi" ? BookSamples::DemoJob()
                                 : std::string(c.file) == "noname.gsi"
                                     ? kNoName
                                     : "P1,1,2\nP2,+3.50,-0004,,A,B\r\n";
        auto book = samples.Load(c.file, file);
        std::string reason;
        auto records = BookEdits(*book).SetField(c.row, c.column, c.text, reason);
        ASSERT_TRUE(records) << c.file << ": " << reason;
        book->Swap(*records);
        std::vector<std::string> expected = Lines(file);
        const std::size_t line = book->RecordOfRow(c.row);
        expected[line] = c.line + (expected[line].ends_with('\r') ? "\r" : "");
        EXPECT_EQ(Lines(Own(*book)), expected) << c.file;
        // What the table shows is read back from the file.
        EXPECT_EQ(samples.Load(c.file, Own(*book))->ValuesOfRow(c.row), book->ValuesOfRow(c.row))
            << c.file;
    }
}

// A job of observations, with CR alone as line end and two blocks on one
// line: shown with computed coordinates, saved unchanged byte for byte, and
// an edited computed point gets coordinate words in its own block.
TEST(BookEdits, ComputedPointsAreShownAndAnEditWritesTheirCoordinates) {
    const std::string setUp = "110001+0000STN1 84..00+01000000 85..00+02000000 "
                              "86..00+00100000 88..00+00001500 ";
    const std::string observed = "110002+000000T1 21.322+10000000 22.322+10000000 "
                                 "31..00+00010000 87..00+00001500 ";
    const std::string job = setUp + observed +
                            "\r110003+000000G1 81..00+01005000 "
                            "82..00+02005000 \r";
    BookSamples samples;
    auto book = samples.Load("obs.gsi", job);
    EXPECT_EQ(Own(*book), job);
    ASSERT_EQ(book->Rows(), 2u);
    EXPECT_TRUE(book->Row(0).point.Computed());
    EXPECT_EQ(book->ValuesOfRow(0).at.east.ToDouble(), 1010.0);
    EXPECT_FALSE(book->Row(1).point.Computed());

    std::string reason;
    auto records = BookEdits(*book).SetField(0, BookColumn::Height, u"99.5", reason);
    ASSERT_TRUE(records) << reason;
    book->Swap(*records);
    EXPECT_EQ(Own(*book), setUp + observed.substr(0, observed.size() - 1) +
                              " 81..06+10100000 82..06+20000000 83..00+00099500 \r" +
                              "110003+000000G1 81..00+01005000 82..00+02005000 \r");
    const auto back = samples.Load("obs.gsi", Own(*book));
    EXPECT_FALSE(back->Row(0).point.Computed());
    EXPECT_EQ(back->ValuesOfRow(0), book->ValuesOfRow(0));
}

TEST(BookEdits, ACodeChangedInAGsiJobGetsCodeBlocksAroundItsPoint) {
    BookSamples samples;
    auto book = samples.Load("demo.gsi", BookSamples::DemoJob());
    std::string reason;
    auto records = BookEdits(*book).SetField(1, BookColumn::Code, u"WALL", reason);
    ASSERT_TRUE(records) << reason;
    book->Swap(*records);
    std::vector<std::string> expected = Lines(BookSamples::DemoJob());
    // The demo job's lines end in LF alone, and so do the new ones.
    expected.insert(expected.begin() + 5, "*410004+000000000000TREE ");
    expected.insert(expected.begin() + 4, "*410003+000000000000WALL ");
    EXPECT_EQ(Lines(Own(*book)), expected);
    const auto back = samples.Load("back.gsi", Own(*book));
    EXPECT_EQ(back->Row(1).point.code, "WALL");
    EXPECT_EQ(back->Row(2).point.code, "TREE");
}

TEST(BookEdits, RefusedEditsSayWhy) {
    struct Case {
        BookColumn column;
        std::u16string text;
        std::string reason;
    };
    const Case cases[] = {
        {BookColumn::Name, u"", "a point needs a name"},
        {BookColumn::Name, u"0P", "GSI drops leading zeros"},
        {BookColumn::Name, u"A B", "a blank would end the GSI word"},
        {BookColumn::Name, u"A,B", "a \",\" would end the name in a point file"},
        {BookColumn::Name, u"ABCDEFGHIJKLMNOPQ", "GSI-16 words hold at most 16 characters"},
        {BookColumn::Code, u"\u6F22", "a character has no byte in the code page Windows-1252"},
        {BookColumn::Code, u"T\tREE", "control characters have no place in a GSI word"},
        {BookColumn::East, u"12a", "\"12a\" is not a number"},
        {BookColumn::North, u"1.123456", "coordinates take at most 5 decimals"},
        {BookColumn::Name, u"NINECHARS",
         "point \"P2\": name: GSI-8 words hold at most 8 characters"},
        {BookColumn::East, u"123456.789", "point \"P2\": a coordinate does not fit GSI-8"},
    };
    BookSamples samples;
    const auto book = samples.Load("job8.gsi", BookSamples::GsiJob(GsiWidth::Gsi8));
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(BookEdits(*book).SetField(1, c.column, c.text, reason));
        EXPECT_EQ(reason, c.reason);
    }
}

TEST(BookEdits, ShiftRenumberAddAndRemoveAreUndoneToTheSameBytes) {
    BookSamples samples;
    auto book = samples.Load("demo.gsi", BookSamples::DemoJob());
    const std::string original = Own(*book);
    std::string reason;

    auto shifted = BookEdits(*book).Shift(
        {0, 2}, {*FixedDecimal::Parse("0.5"), *FixedDecimal::Parse("-1843.0585"), std::nullopt},
        reason);
    ASSERT_TRUE(shifted) << reason;
    book->Swap(*shifted);
    std::string east;
    book->ValuesOfRow(0).at.east.AppendTo(east);
    EXPECT_EQ(east, "1843.558");
    std::string north;
    book->ValuesOfRow(2).at.north.AppendTo(north);
    EXPECT_EQ(north, "93.7825");

    auto renamed = BookEdits(*book).Renumber({2, 0, 1}, u"P009", 1, reason);
    ASSERT_TRUE(renamed) << reason;
    book->Swap(*renamed);
    EXPECT_EQ(book->Row(0).point.name, "P010");
    EXPECT_EQ(book->Row(1).point.name, "P011");
    EXPECT_EQ(book->Row(2).point.name, "P009");

    const PointValues added{
        "N1", "TREE", {*FixedDecimal::Parse("1"), *FixedDecimal::Parse("2"), {}}};
    auto inserted = BookEdits(*book).NewPoint(1, added, reason);
    ASSERT_TRUE(inserted) << reason;
    const std::size_t at = inserted->front().first;
    book->Insert(std::move(*inserted));
    // In millimetre words.
    EXPECT_EQ(book->ValuesOfRow(2),
              (PointValues{"N1",
                           "TREE",
                           {*FixedDecimal::Parse("1.000"), *FixedDecimal::Parse("2.000"), {}}}));
    EXPECT_EQ(book->Row(2).text, "*110004+00000000000000N1 81..00+0000000000001000 "
                                 "82..00+0000000000002000 ");

    const std::vector<std::size_t> gone = BookEdits(*book).RecordsOf({4, 3});
    auto removed = book->Remove(gone);
    EXPECT_EQ(book->Rows(), 11u);

    book->Insert(std::move(removed));
    book->Remove({at});
    book->Swap(*renamed);
    book->Swap(*shifted);
    EXPECT_EQ(Own(*book), original);
}

TEST(NameOrder, NumbersInNamesCountByTheirValue) {
    std::vector<std::string> names = {"P10", "P2", "P02", "B1", "A", "P1A", "P", "b1", "P1"};
    std::sort(names.begin(), names.end(), NameOrder::Less);
    EXPECT_EQ(names,
              (std::vector<std::string>{"A", "B1", "P", "P1", "P1A", "P2", "P02", "P10", "b1"}));
}

} // namespace
