#include "pcbrowse/NameFilter.h"
#include "pcbrowse/NaturalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(NameFilterTest, MatchesAsTheFilterBoxPromises) {
    const NameFilter gsi("*.GSI");
    EXPECT_TRUE(gsi.Matches("job.gsi"));
    EXPECT_TRUE(gsi.Matches("JOB.GsI"));
    EXPECT_TRUE(gsi.Matches(".gsi"));
    EXPECT_TRUE(gsi.Matches("a.b.gsi"));
    EXPECT_FALSE(gsi.Matches("job.gsi.bak"));
    EXPECT_FALSE(gsi.Matches("jobgsi"));
    EXPECT_FALSE(gsi.Matches("job.gs"));

    const NameFilter single("JOB?.*");
    EXPECT_TRUE(single.Matches("job1.hal"));
    EXPECT_FALSE(single.Matches("job12.hal"));
    EXPECT_FALSE(single.Matches("job.hal"));
}

TEST(NameFilterTest, StarDotStarAndStarMatchEveryName) {
    for (const char* pattern : {"*.*", "*"}) {
        const NameFilter all(pattern);
        EXPECT_TRUE(all.MatchesAll());
        EXPECT_TRUE(all.Matches("README"));
        EXPECT_TRUE(all.Matches(""));
    }
    EXPECT_FALSE(NameFilter("*.HAL").MatchesAll());
}

TEST(NameFilterTest, ManyStarsDoNotBlowUp) {
    const NameFilter stars(std::string(200, '*') + "x");
    EXPECT_FALSE(stars.Matches(std::string(5000, 'a')));
    EXPECT_TRUE(stars.Matches(std::string(5000, 'a') + "X"));
}

TEST(NaturalOrderTest, CaseIsIgnoredAndNumbersGoByValue) {
    std::vector<std::string> names{"job10", "B", "Job2", "a", "job1", "job02", "A", "x9y", "x10y"};
    std::sort(names.begin(), names.end(), NaturalLess);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "B", "job1", "Job2", "job02", "job10",
                                               "x9y", "x10y"}));
}

TEST(NaturalOrderTest, OrderIsStrictForLongDigitRunsAndPrefixes) {
    const std::string big = "f" + std::string(40, '9');
    const std::string bigger = "f1" + std::string(40, '0');
    EXPECT_TRUE(NaturalLess(big, bigger));
    EXPECT_FALSE(NaturalLess(bigger, big));
    EXPECT_TRUE(NaturalLess("abc", "abcd"));
    EXPECT_FALSE(NaturalLess("abc", "abc"));
}
