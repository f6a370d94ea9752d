#include "InstrumentContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

int CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const auto& l) { return l.starts_with(prefix); }));
}

std::vector<std::string> Data(const std::string& path) {
    return InstrumentContent::Lines(ContentFiles::BuiltIn().Read(path).value_or(""));
}

} // namespace

// The counts in the lists are what the transfer dialogs show as totals, so
// they must agree with the data behind them.
TEST(DemoContent, ListCountsMatchTheData) {
    InstrumentContent content(ContentFiles::BuiltIn());
    std::string error;
    ASSERT_TRUE(content.Load(error)) << error;
    const auto& jobs = content.List(InstrumentContent::Category::Job);
    ASSERT_GE(jobs.size(), 3u);
    int withData = 0;
    for (const auto& job : jobs) {
        const std::string base = "data/JOB/" + job.Id() + "/";
        EXPECT_EQ(std::to_string(CountStarting(Data(base + "COORDS.GSI"), "*11")), job.Field(2));
        EXPECT_EQ(std::to_string(CountStarting(Data(base + "OBSERV.GSI"), "*11")), job.Field(3));
        EXPECT_EQ(Data(base + "COORDS.IDEX").empty(), job.Field(2) == "0");
        withData += job.Field(2) != "0" ? 1 : 0;
    }
    EXPECT_GE(withData, 3);
    for (const auto& code : content.List(InstrumentContent::Category::Code)) {
        EXPECT_EQ(std::to_string(Data("data/COD/" + code.Id() + ".GSI").size()), code.Field(2));
        EXPECT_FALSE(Data("data/COD/" + code.Id() + ".IDEX").empty());
    }
    for (const auto category :
         {InstrumentContent::Category::Hal, InstrumentContent::Category::Val}) {
        const std::string folder = category == InstrumentContent::Category::Hal ? "HAL" : "VAL";
        ASSERT_EQ(content.List(category).size(), 2u);
        for (const auto& road : content.List(category)) {
            EXPECT_EQ(std::to_string(Data("data/" + folder + "/" + road.Id() + ".txt").size()),
                      road.Field(2));
        }
    }
}

TEST(DemoContent, BuiltInCopyEqualsTheShippedFiles) {
    const auto folder = ContentFiles::FromDirectory(X4SIM_DEMO_DIR);
    const auto builtIn = ContentFiles::BuiltIn();
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(X4SIM_DEMO_DIR)) {
        if (entry.is_regular_file()) {
            const auto relative =
                std::filesystem::relative(entry.path(), X4SIM_DEMO_DIR).generic_string();
            EXPECT_EQ(builtIn.Read(relative), folder.Read(relative)) << relative;
            ++files;
        }
    }
    EXPECT_GT(files, 10);
}

TEST(InstrumentContent, LinesEndWithCrLfWhateverTheFileUsed) {
    EXPECT_EQ(InstrumentContent::Lines("a\nb\r\n\nc"),
              (std::vector<std::string>{"a\r\n", "b\r\n", "\r\n", "c\r\n"}));
    EXPECT_TRUE(InstrumentContent::Lines("").empty());
}
