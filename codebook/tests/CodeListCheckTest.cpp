// What the instrument cannot take is refused before anything is written,
// naming the code and the reason.

#include "codebook/CodeListCheck.h"

#include <gtest/gtest.h>

namespace {

CodeBook Sample() {
    CodeBook book;
    book.codes = {{.code = "TREE", .attributes = {{"SPECIES", "OAK"}}},
                  {.code = "KERB", .description = "Kerb line", .colour = "#ff0000", .line = true}};
    return book;
}

TEST(CodeListCheck, RefusesWhatTheFormatCannotCarry) {
    const struct {
        const char* name;
        CodeFormat format;
        std::function<void(CodeBook&)> change;
        std::string refused; // the code named; empty: accepted
        std::string reason;  // part of the reason
    } cases[] = {
        {"clean GSI-8", CodeFormat::Gsi8, [](CodeBook&) {}, "", ""},
        {"duplicate", CodeFormat::Book, [](CodeBook& b) { b.codes[1].code = "TREE"; }, "TREE",
         "duplicate"},
        {"no code", CodeFormat::Csv, [](CodeBook& b) { b.codes[1].code.clear(); }, "code 2",
         "no code"},
        {"9 characters in GSI-8", CodeFormat::Gsi8,
         [](CodeBook& b) { b.codes[0].code = "HEDGEROWS"; }, "HEDGEROWS", "longer than 8"},
        {"9 characters in GSI-16", CodeFormat::Gsi16,
         [](CodeBook& b) { b.codes[0].code = "HEDGEROWS"; }, "", ""},
        {"value too long", CodeFormat::Gsi16,
         [](CodeBook& b) { b.codes[0].attributes[0].value = "QUERCUS ROBUR L."; }, "TREE", "blank"},
        {"value of 17", CodeFormat::Idex,
         [](CodeBook& b) { b.codes[0].attributes[0].value = "QUERCUS-ROBUR-L.1"; }, "TREE",
         "longer than 16"},
        {"outside the code page", CodeFormat::Gsi16,
         [](CodeBook& b) { b.codes[1].code = "KERB\xE2\x82\xAC\xE4\xB8\x80"; },
         "KERB\xE2\x82\xAC\xE4\xB8\x80", "wire code page"},
        {"euro sign is in it", CodeFormat::Gsi16,
         [](CodeBook& b) { b.codes[1].code = "KERB\xE2\x82\xAC"; }, "", ""},
        {"leading zero", CodeFormat::Gsi8, [](CodeBook& b) { b.codes[0].code = "07"; }, "07",
         "leading zeros"},
        {"quote in IDEX", CodeFormat::Idex,
         [](CodeBook& b) { b.codes[1].description = "6\" kerb"; }, "KERB", "quote"},
        {"line break in a book", CodeFormat::Book,
         [](CodeBook& b) { b.codes[1].description = "a\nb"; }, "KERB", "line break"},
        {"bad colour", CodeFormat::Book, [](CodeBook& b) { b.codes[1].colour = "red"; }, "KERB",
         "colour"},
        {"too many codes", CodeFormat::Gsi16,
         [](CodeBook& b) {
             for (int i = 0; i < 9998; ++i) {
                 b.codes.push_back({.code = "C" + std::to_string(i + 1)});
             }
         },
         "the list", "more than a list may hold"},
    };
    for (const auto& test : cases) {
        CodeBook book = Sample();
        test.change(book);
        const auto refusals = CodeListCheck::Check(book, test.format);
        if (test.refused.empty()) {
            EXPECT_TRUE(refusals.empty()) << test.name << ": " << refusals.front().Text();
            continue;
        }
        ASSERT_EQ(refusals.size(), 1u) << test.name;
        EXPECT_EQ(refusals[0].code, test.refused) << test.name;
        EXPECT_NE(refusals[0].reason.find(test.reason), std::string::npos)
            << test.name << ": " << refusals[0].reason;
    }
}

} // namespace
