#include "RecordingSink.h"
#include "TempFolder.h"

#include "fielddata/FieldFile.h"
#include "fielddata/LineReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

struct ReadResult {
    Events events;
    std::string error; // FieldFileError::Text(), empty when read whole

    bool operator==(const ReadResult&) const = default;
};

ReadResult Read(const std::string& name, const std::string& bytes) {
    TempFolder folder;
    folder.WriteFile(name, bytes);
    RecordingSink sink;
    const auto error = FieldFile::Read(folder.Path(name), sink);
    return {sink.events, error ? error->Text() : ""};
}

TEST(FieldFile, GsiJobsGivePointsWithTheLastCodeAndReportEveryOtherBlock) {
    const std::string gsi16 =
        "*130000+000000000GEL\xC4"
        "NDE 19....+0000000014052024 \r\n"
        "*840000+0000000000001000 85..00+0000000000002000 86..00+0000000000000100 \r\n"
        "*110001+00000000000000P1 81..00+0000000001234567 82..00-0000000000045678 "
        "83..00+0000000000012345 \r\n"
        "*410002+000000000000TREE \r\n"
        "*110003+00000000000000M1 21.324+0000000030126544 22.324+0000000010187044 "
        "31..00+0000000000101969 87..10+0000000000001500 \r\n"
        "\r\n"
        "*110004+000000000000STN1 84..10+0000000001000000 85..10+0000000002000000 "
        "88..10+0000000000001560 \r\n"
        "*110005+00000000000000P2 81..16+0000000012345678 82..08-0000000000000001 \r\n"
        "*110006+00000000000000P3 81..00+0000000000001000 83..00+0000000000002000 \r\n"
        "*410007+000000000000KERB \n"
        "*110008+00000000000000P4 81..01+0000000000001500 82..07-0000000000001500 "
        "83..01-0000000000000000";
    const Events expected = {
        "1 skipped 2",                      // job information
        "2 skipped 1",                      // station coordinates
        "3 P1 1234.567 -45.678 12.345 ",    // before the first code block: no code
        "5 skipped 0",                      // angles and distances only
        "7 skipped 1",                      // a named station set-up
        "8 P2 1234.56780 -0.00001 - TREE",  // no height; places of the finest word
        "9 skipped 0",                      // no northing
        "11 P4 1.5000 -0.1500 0.0000 KERB", // feet stay feet; last line without line end
    };
    EXPECT_EQ(Read("job.gsi", gsi16), (ReadResult{expected, ""}));

    const std::string gsi8 = "410001+0000TREE \r\n"
                             "110002+000000P1 81..00+01234567 82..00-00045678 83..00+00012345 \r\n";
    EXPECT_EQ(Read("job8.GSI", gsi8), (ReadResult{{"2 P1 1234.567 -45.678 12.345 TREE"}, ""}));
}

TEST(FieldFile, PointFilesAsThePointFileConversionWritesThem) {
    const std::string dat = "P12,1234.567,-45.678,12.345,TREE\r\n"
                            "P2,1.0,2.0\r\n"
                            "P3,,,,TREE\r\n"
                            "P4,1.5,2.5,,A,B\r\n"
                            "\r\n"
                            ",3.25,4.25,5.25,\n"
                            "P6";
    const Events expected = {"1 P12 1234.567 -45.678 12.345 TREE",
                             "2 P2 1.0 2.0 - ",
                             "3 skipped 0",
                             "4 P4 1.5 2.5 - A,B",
                             "5 skipped 0",
                             "6  3.25 4.25 5.25 ",
                             "7 skipped 0"};
    EXPECT_EQ(Read("points.DAT", dat), (ReadResult{expected, ""}));
}

TEST(FieldFile, BadFilesAreNamedWithTheLineAndTheReason) {
    const std::string point = "*110001+00000000000000P1 81..00+0000000001234567 "
                              "82..00+0000000000045678 \r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"empty.gsi", "", "the file is empty"},
        {"binary.gsi",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0\n",
                     11),
         "line 1: the line holds a NUL byte; this is not a text file"},
        {"text.gsi", point + "hello world\r\n", "line 2: \"hello\" is not a GSI word"},
        {"garbage.gsi", point + "*110002+00000000000000P2 81..00+00000000ABC34567 \r\n",
         "line 2: \"81..00+00000000ABC34567\" is not a length in millimetres or feet"},
        {"angle.gsi", "*110002+00000000000000P2 82..02+0000000001234567 \r\n",
         "line 1: \"82..02+0000000001234567\" is not a length in millimetres or feet"},
        {"long.gsi", point + std::string(LineReader::kMaxLineBytes + 1, '1'),
         "line 2: the line is longer than 65536 bytes; this is not a field file"},
        {"bad.dat", "P1,1.0,2.0\r\nP2,12a,3.0\r\n", "line 2: field 2: \"12a\" is not a number"},
        {"bad-height.dat", "P1,1.0,2.0,\x01\r\n", "line 1: field 4: \"?\" is not a number"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.name, c.bytes).error, c.error) << c.name;
    }
    TempFolder folder;
    RecordingSink sink;
    EXPECT_EQ(FieldFile::Read(folder.Path("none.gsi"), sink)->Text(),
              "cannot open the file: No such file or directory");
    EXPECT_EQ(FieldFile::Read(folder.Path(""), sink)->Text(), "not a regular file");
    EXPECT_TRUE(sink.events.empty());
}

} // namespace
