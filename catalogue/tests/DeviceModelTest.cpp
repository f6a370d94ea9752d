#include "catalogue/DeviceModel.h"
#include "catalogue/DeviceEntry.h"

#include <gtest/gtest.h>

using Details = std::vector<std::u16string>;

TEST(DeviceEntry, JobLineGivesLabelAndBothCounts) {
    const auto entry = DeviceEntry::FromLine(EntryKind::Job, u"SITE1,7,12,30\r\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->label, u"JobList:7 [SITE1]");
    EXPECT_EQ(entry->details, (Details{u"FixPoints:12", u"MeasurementPoints:30"}));
}

TEST(DeviceEntry, EachListKindHasItsLabelAndDetails) {
    EXPECT_EQ(DeviceEntry::FromLine(EntryKind::Code, u"A,B\r\n")->label, u"CodeBook:B");
    EXPECT_EQ(DeviceEntry::FromLine(EntryKind::Code, u"A,B\r\n")->details, (Details{u"Name:A"}));
    const auto hal = DeviceEntry::FromLine(EntryKind::Hal, u"MAINST,1,6\r\n");
    EXPECT_EQ(hal->label, u"HalList:1");
    EXPECT_EQ(hal->details, (Details{u"Points:6"}));
    EXPECT_EQ(DeviceEntry::FromLine(EntryKind::Val, u"R,2,3,x,y,z,w\r\n")->label, u"ValList:2");
    const auto format = DeviceEntry::FromLine(EntryKind::Format, u"GSI,0,GSI-16 blocks\r\n");
    EXPECT_EQ(format->label, u"GSI,0,GSI-16 blocks");
    EXPECT_TRUE(format->details.empty());
}

TEST(DeviceEntry, LinesWithTooFewFieldsMakeNoEntry) {
    EXPECT_FALSE(DeviceEntry::FromLine(EntryKind::Job, u"SITE1,7,12\r\n"));
    EXPECT_FALSE(DeviceEntry::FromLine(EntryKind::Code, u"A\r\n"));
    EXPECT_FALSE(DeviceEntry::FromLine(EntryKind::Hal, u"A,1\r\n"));
    EXPECT_FALSE(DeviceEntry::FromLine(EntryKind::Val, u""));
    EXPECT_FALSE(DeviceEntry::FromLine(EntryKind::Device, u"a,b,c,d"));
}

TEST(DeviceEntry, DeviceLineTakesThreeOfTheLastSevenCharacters) {
    EXPECT_EQ(DeviceEntry::DeviceText(u"COM1", u"13....+000000000X4 1207\r\n"),
              u"COM1: X4  SERIES");
    EXPECT_EQ(DeviceEntry::DeviceText(u"COM1", u"AB 1234\r\n"), u"COM1: AB  SERIES");
    // Shorter than seven: its first three characters.
    EXPECT_EQ(DeviceEntry::DeviceText(u"COM2", u"XYZW\r\n"), u"COM2: XYZ SERIES");
    EXPECT_EQ(DeviceEntry::DeviceText(u"COM2", u"\r\n"), u"COM2:  SERIES");
    // Line ends inside the line are removed before counting.
    EXPECT_EQ(DeviceEntry::DeviceText(u"COM3", u"ABC\r\nDEFGHIJ"), u"COM3: DEF SERIES");
}

TEST(DeviceModel, LaterLineWithTheSameLabelReplacesTheStoredOne) {
    DeviceModel model;
    EXPECT_TRUE(model.Store(EntryKind::Job, u"JobList:7 [S]", u"S,7,1,2\r\n"));
    EXPECT_TRUE(model.Store(EntryKind::Job, u"JobList:7 [S]", u"S,7,5,6\r\n"));
    EXPECT_FALSE(model.Store(EntryKind::Format, u"x", u"y"));
    EXPECT_EQ(model.MapOf(EntryKind::Job)->size(), 1U);
    EXPECT_EQ(model.LineOf(u"JOB", u"JobList:7 [S]"), u"S,7,5,6\r\n");
    EXPECT_EQ(model.LineOf(u"COD", u"JobList:7 [S]"), u"");
    EXPECT_EQ(model.LineOf(u"FOR", u"JobList:7 [S]"), u"");
    EXPECT_EQ(model.LineOf(u"job", u"JobList:7 [S]"), u"");
}

TEST(DeviceModel, MapsAreOrderedByUtf16CodeUnits) {
    DeviceModel model;
    // U+FF21 sorts after a surrogate pair's lead unit (U+D83D) in code-unit order.
    for (const auto* label : {u"\uFF21", u"\U0001F600", u"b", u"B"}) {
        model.Store(EntryKind::Code, label, u"x");
    }
    std::vector<std::u16string> keys;
    for (const auto& [key, line] : *model.MapOf(EntryKind::Code)) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::u16string>{u"B", u"b", u"\U0001F600", u"\uFF21"}));
}

TEST(DeviceModel, FormatListKeepsArrivalOrderAndDuplicates) {
    DeviceModel model;
    model.AddFormat(u"IDEX,1\r\n");
    model.AddFormat(u"GSI,0\r\n");
    model.AddFormat(u"IDEX,1\r\n");
    EXPECT_EQ(model.FormatList(),
              (std::vector<std::u16string>{u"IDEX,1\r\n", u"GSI,0\r\n", u"IDEX,1\r\n"}));
    model.ClearFormats();
    EXPECT_TRUE(model.FormatList().empty());
}
