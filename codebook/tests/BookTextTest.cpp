// The codebook's own document and CSV keep every field of a code.

#include "codebook/BookDocument.h"
#include "codebook/CodeBookFile.h"

#include <gtest/gtest.h>

namespace {

CodeBook Awkward() {
    CodeBook book;
    book.name = "TOPO";
    book.codes = {
        {.code = "TREE",
         .description = "Tree, \"big\" one",
         .group = "Vegetation",
         .attributes = {{"SPECIES", "OAK"}, {"GIRTH", ""}, {"", "x=y, z"}},
         .layer = "TREES",
         .colour = "#00aa00",
         .symbol = "circle"},
        {.code = " MH", .description = "Manhole  ", .symbol = "square"},
        {.code = "KERB", .colour = "#ff0000", .line = true},
    };
    return book;
}

TEST(BookText, BookAndCsvGiveBackWhatTheyWereGiven) {
    for (const CodeFormat format : {CodeFormat::Book, CodeFormat::Csv}) {
        const CodeBook book = Awkward();
        const std::string bytes = CodeBookFile::Render(book, format);
        const CodeBookRead read = CodeBookFile::Parse(bytes, CodeFormats::Sniff(bytes));
        EXPECT_TRUE(read.skipped.empty()) << CodeFormats::Name(format);
        EXPECT_EQ(read.book.codes, book.codes) << CodeFormats::Name(format);
    }
}

TEST(BookText, UnreadableLinesAreNamedAndTheRestKept) {
    const struct {
        CodeFormat format;
        std::string bytes;
        std::size_t codes;
        std::size_t badLine;
    } cases[] = {
        {CodeFormat::Book, "codebook 1\n  colour #000000\ncode A\n  shade red\ncode B\n", 2, 2},
        {CodeFormat::Csv, "code,description\r\nA,x\r\n,lost\r\nB,y\r\n", 2, 3},
        {CodeFormat::Csv, "A,\"multi\nline\"\nB,\"open\n", 1, 3},
    };
    for (const auto& test : cases) {
        const CodeBookRead read = CodeBookFile::Parse(test.bytes, test.format);
        EXPECT_EQ(read.book.codes.size(), test.codes) << test.bytes;
        ASSERT_FALSE(read.skipped.empty()) << test.bytes;
        EXPECT_EQ(read.skipped[0].line, test.badLine) << test.bytes;
    }
}

} // namespace
