#include "legacyxfer/PresetBook.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(LinePresetTest, TextRoundTripsAndRefusesWhatAPortCannotTake) {
    LinePreset marked = LinePreset::BuiltIn().back();
    marked.endMarker = std::string("\x03\xff|", 3);
    marked.endSilence = 2.5;
    for (const LinePreset& preset : {LinePreset::BuiltIn()[0], LinePreset::BuiltIn()[1], marked}) {
        SCOPED_TRACE(preset.name);
        EXPECT_EQ(LinePreset::FromText(preset.ToText()), preset);
    }
    for (const char* bad : {"", "name|9600|8|0|0|0|0||5|extra", "x|9601|8|0|0|0|0||5",
                            "x|9600|9|0|0|0|0||5", "x|9600|8|3|0|0|0||5", "x|9600|8|0|0|3|0||5",
                            "x|9600|8|0|0|0|0|0|5", "x|9600|8|0|0|0|0||0", "|9600|8|0|0|0|0||5"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(LinePreset::FromText(bad));
    }
}

TEST(PresetBookTest, KeepsEditsAndTheLastChoicePerPortAcrossRuns) {
    const std::string path = std::filesystem::temp_directory_path() /
                             ("legacyxfer-presets-" + std::to_string(::getpid()));
    LinePreset edited = LinePreset::BuiltIn()[2];
    edited.baud = 4800;
    LinePreset own = edited;
    own.name = "Site office logger";
    {
        PresetBook book(path);
        book.Keep(edited);
        book.Keep(own);
        book.SetLastFor("COM3", own.name);
        ASSERT_EQ(book.Save(), "");
    }
    PresetBook again(path);
    std::vector<std::string> skipped;
    again.Load(skipped);
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(again.All().size(), LinePreset::BuiltIn().size() + 1);
    ASSERT_NE(again.Find(edited.name), nullptr);
    EXPECT_EQ(again.Find(edited.name)->baud, 4800);
    EXPECT_EQ(again.LastFor("COM3"), own.name);
    EXPECT_EQ(again.LastFor("COM4"), "");
    again.Remove(edited.name);
    EXPECT_EQ(again.Find(edited.name)->baud, LinePreset::BuiltIn()[2].baud);
    std::filesystem::remove(path);
}

} // namespace
