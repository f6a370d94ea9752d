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
         GsiBlock::Kind::NoDistance,
         {name, "21.324+0000000030126544"}},
        {name + " 21.322+10000000 32..00+00010000",
         GsiBlock::Kind::Observation,
         {name, "21.322+10000000", "32..00+00010000"}},
        {name + " 21.322+10000000 31..00+00010000",
         GsiBlock::Kind::NoDistance,
         {name, "21.322+10000000", "31..00+00010000"}},
        {name, GsiBlock::Kind::NoCoordinates, {name}},
        {"840000+00001000 85..00-00002000",
         GsiBlock::Kind::StationSetup,
         {"840000+00001000", "85..00-00002000"}},
        {"410001+0000TREE", GsiBlock::Kind::Code, {"410001+0000TREE"}},
        {"*880000+0000000000001000 ", GsiBlock::Kind::Other, {"880000+0000000000001000"}},
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
    // The block's name is a view into the line, which must outlive it.
    const std::string marked = "*" + name + " " + east + " " + north + " ";
    ASSERT_TRUE(block.Read(marked, reason));
    EXPECT_TRUE(block.Marked());
    EXPECT_EQ(block.Width(), GsiWidth::Gsi16);
    EXPECT_EQ(block.Name(), "P1");
    EXPECT_EQ(block.Find(GsiBlock::kNorth), 2u);
    EXPECT_EQ(block.Find(GsiBlock::kHeight), std::nullopt);
    EXPECT_FALSE(block.Read("* " + name, reason));
    EXPECT_EQ(reason, "\"\" is not a GSI word");
}

TEST(GsiBlock, BlocksOnOneLineEndWhereTheNextBegins) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"*110001+00000000000000P1 81..00+0000000000001000 *110002+00000000000000P2 ",
         {"*110001+00000000000000P1 81..00+0000000000001000 ", "*110002+00000000000000P2 "}},
        {"410001+0000TREE 110002+000000P1 81..00+00001000 110003+000000P2 ",
         {"410001+0000TREE ", "110002+000000P1 81..00+00001000 ", "110003+000000P2 "}},
        {"840001+00001000 85..00+00001000 110002+000000P1",
         {"840001+00001000 85..00+00001000 110002+000000P1"}},
        {"  *110001+00000000000000P1  ", {"  *110001+00000000000000P1  "}},
    };
    for (const auto& [line, blocks] : cases) {
        std::vector<std::string> found;
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t end = GsiBlock::BlockEnd(line, at);
            found.push_back(line.substr(at, end - at));
            at = end;
        }
        EXPECT_EQ(found, blocks) << line;
    }
}

} // namespace
