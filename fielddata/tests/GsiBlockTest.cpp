#include "fielddata/GsiBlock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each word as the line holds it, found by its place.
std::vector<std::string> WordsOf(const GsiBlock& block, std::string_view line) {
    std::vector<std::string> words;
    for (const GsiBlock::Word& word : block.Words()) {
        words.emplace_back(line.substr(word.offset, word.size));
    }
    return words;
}

TEST(GsiBlock, WordsAreFoundWhereTheLineHoldsThem) {
    struct Case {
        std::string line;
        GsiBlock::Kind kind;
        std::vector<std::string> words;
    };
    const std::string name = "110002+00000000000000P1";
    const std::string east = "81..00+0000000001234567";
    const std::string north = "82..10-0000000000045678";
    const Case cases[] = {
        {"*" + name + " " + east + " " + north + " ", GsiBlock::Kind::Point, {name, east, north}},
        {"  *" + name + "  21.324+0000000030126544 ",
         GsiBlock::Kind::NoCoordinates,
         {name, "21.324+0000000030126544"}},
        {"410001+0000TREE", GsiBlock::Kind::Code, {"410001+0000TREE"}},
        {"*840000+0000000000001000 ", GsiBlock::Kind::StationSetup, {"840000+0000000000001000"}},
        {"*130000+0000000000BRIDGE ", GsiBlock::Kind::Other, {"130000+0000000000BRIDGE"}},
        {"   ", GsiBlock::Kind::Empty, {}},
    };
    GsiBlock block;
    for (const Case& c : cases) {
        std::string reason;
        ASSERT_TRUE(block.Read(c.line, reason)) << c.line << ": " << reason;
        EXPECT_EQ(block.Type(), c.kind) << c.line;
        EXPECT_EQ(WordsOf(block, c.line), c.words) << c.line;
    }
    std::string reason;
    ASSERT_TRUE(block.Read("*" + name + " " + east + " " + north + " ", reason));
    EXPECT_TRUE(block.Marked());
    EXPECT_EQ(block.Width(), GsiWidth::Gsi16);
    EXPECT_EQ(block.Name(), "P1");
    EXPECT_EQ(block.Find(GsiBlock::kNorth), 2u);
    EXPECT_EQ(block.Find(GsiBlock::kHeight), std::nullopt);
    EXPECT_FALSE(block.Read("* " + name, reason));
    EXPECT_EQ(reason, "\"\" is not a GSI word");
}

} // namespace
