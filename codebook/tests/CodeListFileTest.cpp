// The instrument's code lists read and written: byte for byte when nothing
// changed, and the instrument's own layout for what did.

#include "codebook/CodeListFile.h"
#include "TempFolder.h"
#include "codebook/CodeBookFile.h"

#include <gtest/gtest.h>

namespace {

std::string Demo(const std::string& name) {
    return TempFolder().ReadFile(std::string(X4SIM_DEMO_DIR) + "/data/COD/" + name);
}

std::string WithCrLf(std::string text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

TEST(CodeListFile, AListReadAndWrittenUnchangedKeepsEveryByte) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"GSI-16 demo", Demo("1.GSI")},
        {"GSI-16 CR LF", WithCrLf(Demo("2.GSI"))},
        {"IDEX demo", Demo("1.IDEX")},
        {"IDEX CR LF", WithCrLf(Demo("2.IDEX"))},
        // Odd block numbers and info fields are the instrument's to keep.
        {"GSI-8, no final end", "410007+0000TREE 42..10+00000OAK 43....+00000012 \r\n"
                                "410009+000WALL2 \r\n410003+00000007 "},
        {"CR alone", "*410001+000000000000TREE \r*410002+00000000000FENCE \r"},
    };
    for (const auto& [name, bytes] : cases) {
        const CodeFormat format = CodeFormats::Sniff(bytes);
        const CodeBookRead read = CodeBookFile::Parse(bytes, format);
        EXPECT_TRUE(read.skipped.empty()) << name;
        EXPECT_FALSE(read.book.codes.empty()) << name;
        EXPECT_EQ(CodeBookFile::Render(read.book, format), bytes) << name;
    }
}

TEST(CodeListFile, ReadsCodesValuesAndDescriptions) {
    const CodeBookRead gsi8 = CodeListFile::Read(
        "410007+0000TREE 42..10+00000OAK 44....+00000012 \r\n", CodeFormat::Gsi8);
    ASSERT_EQ(gsi8.book.codes.size(), 1u);
    EXPECT_EQ(gsi8.book.codes[0].code, "TREE");
    EXPECT_EQ(gsi8.book.codes[0].Values(), (std::vector<std::string>{"OAK", "", "12"}));

    const CodeBookRead idex = CodeListFile::Read(
        "CODELIST \"TOPO\"\n  CODE \"MH\", \"Manhole \"\"A\"\"\", \"DEPTH\", \"1.5\";\n"
        "  CODE TREE;\n  CODE \"KERB\";\nEND CODELIST\n",
        CodeFormat::Idex);
    EXPECT_EQ(idex.book.name, "TOPO");
    ASSERT_EQ(idex.book.codes.size(), 2u);
    EXPECT_EQ(idex.book.codes[0].description, "Manhole \"A\"");
    EXPECT_EQ(idex.book.codes[0].attributes, (std::vector<CodeAttribute>{{"DEPTH", "1.5"}}));
    EXPECT_EQ(idex.book.codes[1].code, "KERB");
    // The broken line is named; the codes around it are kept.
    ASSERT_EQ(idex.skipped.size(), 1u);
    EXPECT_EQ(idex.skipped[0].line, 3u);
}

TEST(CodeListFile, ChangedAndNewCodesAreWrittenInTheListsLayout) {
    CodeBook book = CodeListFile::Read(Demo("2.GSI"), CodeFormat::Gsi16).book;
    book.codes.resize(2);
    book.codes[1].code = "WVALVE";
    book.codes.push_back({.code = "PIT", .attributes = {{"DEPTH", "2"}, {"COVER", "IRON"}}});
    book.lineEnd = "\r\n";
    const struct {
        CodeFormat format;
        std::string expected;
    } cases[] = {
        {CodeFormat::Gsi16, "*410001+00000000000000GV 42....+0000000000000001 \r\n"
                            "*410002+0000000000WVALVE 42....+0000000000000002 \r\n"
                            "*410003+0000000000000PIT 42....+0000000000000002 "
                            "43....+000000000000IRON \r\n"},
        {CodeFormat::Gsi8, "410001+000000GV 42....+00000001 \r\n"
                           "410002+00WVALVE 42....+00000002 \r\n"
                           "410003+00000PIT 42....+00000002 43....+0000IRON \r\n"},
        {CodeFormat::Idex, "CODELIST \"\"\r\n  CODE \"GV\", \"\", \"\", \"1\";\r\n"
                           "  CODE \"WVALVE\", \"\", \"\", \"2\";\r\n"
                           "  CODE \"PIT\", \"\", \"DEPTH\", \"2\", \"COVER\", \"IRON\";\r\n"
                           "END CODELIST\r\n"},
    };
    for (const auto& [format, expected] : cases) {
        EXPECT_EQ(CodeListFile::Write(book, format), expected) << CodeFormats::Name(format);
    }
}

} // namespace
