// What the checks refuse, naming the element (with its line) and the
// reason, and what they let through.

#include "routebook/AlignmentCheck.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Texts(const std::vector<AlignmentIssue>& issues) {
    std::vector<std::string> texts;
    for (const AlignmentIssue& issue : issues) {
        texts.push_back(issue.Text());
    }
    return texts;
}

TEST(AlignmentCheck, NamesEachFaultOfAHorizontalAlignment) {
    const std::string good = "START,0,0,0,0\r\nSTRAIGHT,120\r\nSPIRAL,60,350\r\nARC,85.5,350\r\n"
                             "SPIRAL,60,350\r\nSTRAIGHT,210\r\n";
    EXPECT_TRUE(AlignmentCheck::File(HalFile::Read(good)).empty());
    struct Case {
        std::string text;
        std::string issue;
    };
    const Case cases[] = {
        {"STRAIGHT,10\nSTART,0,0,0,0\n", "element 1 (STRAIGHT, line 1): comes before the START"},
        {"STRAIGHT,10\n", "alignment: no START line"},
        {"START,0,0,0,0\nSTART,5,0,0,0\n",
         "element 2 (START, line 2): a second START: an alignment has one beginning"},
        {"START,0,0,0,0\n\nSTRAIGHT,0\n",
         "element 2 (STRAIGHT, line 3): the length must be greater than zero"},
        {"START,0,0,0,0\nARC,10,0\n", "element 2 (ARC, line 2): the radius must not be zero"},
        {"START,0,0,0,0\nSPIRAL,60,300\nARC,10,350\n",
         "element 2 (SPIRAL, line 2): radius 300.000 does not match the element after it "
         "(radius 350.000)"},
        {"START,0,0,0,0\nSPIRAL,60,300\nSTRAIGHT,10\n",
         "element 2 (SPIRAL, line 2): radius 300.000 does not match the element after it (a "
         "straight)"},
        {"START,0,0,0,0\nARC,10,-350\nSPIRAL,60,350\n",
         "element 3 (SPIRAL, line 3): radius 350.000 does not match the element before it "
         "(radius -350.000)"},
        {"START,0,0,0,0\nSTRAIGHT,5\nCURVE,5\n", "line 3: not an alignment element"},
    };
    for (const Case& c : cases) {
        const auto texts = Texts(AlignmentCheck::File(HalFile::Read(c.text)));
        ASSERT_EQ(texts.size(), 1u) << c.text << (texts.empty() ? "" : texts[0]);
        EXPECT_EQ(texts[0], c.issue);
    }
}

TEST(AlignmentCheck, NamesEachFaultOfAVerticalAlignment) {
    EXPECT_TRUE(AlignmentCheck::File(ValFile::Read("PVI,0,1,0\nPVI,100,2,40\nPVI,130,1,20\n"
                                                   "PVI,200,1,0\n"))
                    .empty());
    struct Case {
        std::string text;
        std::string issue;
    };
    const Case cases[] = {
        {"PVI,0,1,0\n", "vertical alignment: needs at least two points"},
        {"PVI,0,1,0\nPVI,100,2,0\nPVI,100,3,0\n",
         "point 3 (PVI, line 3): chainage 100.000 is not after the point before it (100.000)"},
        {"PVI,0,1,0\nPVI,100,2,80\nPVI,150,1,40\nPVI,300,1,0\n",
         "point 3 (PVI, line 3): its curve begins at chainage 130.000, before the curve of "
         "point 2 ends at 140.000"},
        {"PVI,0,1,0\nPVI,100,2,300\nPVI,400,1,0\n",
         "point 2 (PVI, line 2): its curve begins at chainage -50.000, before point 1 at 0.000"},
        {"PVI,0,1,10\nPVI,100,2,0\n", "point 1 (PVI, line 1): the first and last points carry no "
                                      "curve"},
        {"PVI,0,1,0\nPVI,50,2,-4\nPVI,100,2,0\n",
         "point 2 (PVI, line 2): the curve length must not be negative"},
    };
    for (const Case& c : cases) {
        const auto texts = Texts(AlignmentCheck::File(ValFile::Read(c.text)));
        ASSERT_EQ(texts.size(), 1u) << c.text << (texts.empty() ? "" : texts[0]);
        EXPECT_EQ(texts[0], c.issue);
    }
}

} // namespace
