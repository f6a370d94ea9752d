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

TEST(FieldFile, GsiJobsGivePointsStationsAndReducedObservations) {
    const std::string gsi16 =
        "*130000+000000000GEL\xC4"
        "NDE 19....+0000000014052024 \r\n"
        "*840000+0000000000001000 85..00+0000000000002000 86..00+0000000000000100 \r\n"
        "*110001+00000000000000P1 81..00+0000000001234567 82..00-0000000000045678 "
        "83..00+0000000000012345 \r\n"
        "*410002+000000000000TREE \r\n"
        "*110003+00000000000000M1 21.324+0000000009000000 22.324+0000000009000000 "
        "31..00+0000000000101969 87..10+0000000000001500 \r\n"
        "\r\n"
        "*110004+000000000000STN1 84..10+0000000001000000 85..10+0000000002000000 "
        "88..10+0000000000001560 \r\n"
        "*110005+00000000000000P2 81..16+0000000012345678 82..08-0000000000000001 \r\n"
        "*110006+00000000000000P3 81..00+0000000000001000 83..00+0000000000002000 \r\n"
        "*410007+000000000000KERB \n"
        "*110008+00000000000000B1 21.322+0000000010000000 \r"
        "*110009+00000000000000P4 81..01+0000000000001500 82..07-0000000000001500 "
        "83..01-0000000000000000\x1A";
    const Events expected = {
        "1 skipped other",                            // job information
        "2  1.0000 2.0000 0.1000  station",           // an unnamed set-up
        "3 P1 1234.567 -45.678 12.345 ",              // before the first code block: no code
        "5 M1 102.9690 2.0000 -1.4000 TREE computed", // due east, level, 1.5 m target
        "7 STN1 1000.0000 2000.0000 -  station",      // no station height
        "8 P2 1234.56780 -0.00001 - TREE",            // no height; places of the finest word
        "9 skipped no-coordinates",                   // no northing
        "11 skipped no-distance",                     // a backsight: angle only; CR alone
        "12 P4 1.5000 -0.1500 0.0000 KERB",           // feet stay feet; end-of-file byte
    };
    EXPECT_EQ(Read("job.gsi", gsi16), (ReadResult{expected, ""}));

    const std::string gsi8 = "410001+0000TREE \r\n"
                             "110002+000000P1 81..00+01234567 82..00-00045678 83..00+00012345 \r\n";
    EXPECT_EQ(Read("job8.GSI", gsi8), (ReadResult{{"2 P1 1234.567 -45.678 12.345 TREE"}, ""}));
}

// 100 gon due east, 10 m horizontal, 0.5 m down, 1.5 m instrument height.
// Without any coordinates in the file, the station is taken as 0,0,0;
// with some, an observation before the first set-up places nothing.
TEST(FieldFile, ObservationsWithoutASetUp) {
    const std::string observation = "110001+000000M1 21.322+10000000 22.322+10000000 "
                                    "32..00+00010000 33..00-00000500 88..00+00001500 \r\n";
    const std::string setUp = "110002+00000STN 84..00+00100000 85..00+00200000 "
                              "86..00+00010000 \r\n";
    EXPECT_EQ(
        Read("obs.gsi", observation + observation).events,
        (Events{"1 M1 10.0000 0.0000 1.0000  from-zero", "2 M1 10.0000 0.0000 1.0000  from-zero"}));
    EXPECT_EQ(Read("mixed.gsi", observation + setUp + observation).events,
              (Events{"1 skipped no-station", "2 STN 100.0000 200.0000 10.0000  station",
                      "3 M1 110.0000 200.0000 11.0000  computed"}));
}

TEST(FieldFile, PointFilesAsThePointFileConversionWritesThem) {
    const std::string dat = "P12,1234.567,-45.678,12.345,TREE\r\n"
                            "P2,1.0,2.0\r"
                            "P3,,,,TREE\r\n"
                            "P4,1.5,2.5,,A,B\r\n"
                            "\r\n"
                            ",3.25,4.25,5.25,\n"
                            "P6";
    const Events expected = {"1 P12 1234.567 -45.678 12.345 TREE",
                             "2 P2 1.0 2.0 - ",
                             "3 skipped no-coordinates",
                             "4 P4 1.5 2.5 - A,B",
                             "6  3.25 4.25 5.25 ",
                             "7 skipped no-coordinates"};
    EXPECT_EQ(Read("points.DAT", dat), (ReadResult{expected, ""}));
}

TEST(FieldFile, UnreadableLinesAreNamedAndTheRestIsRead) {
    const std::string point = "*110001+00000000000000P1 81..00+0000000001234567 "
                              "82..00+0000000000045678 \r\n";
    const std::string good = "1 P1 1234.567 45.678 - ";
    struct Case {
        const char* name;
        std::string bytes;
        Events events;
    };
    const std::vector<Case> cases = {
        {"text.gsi",
         point + "hello world\r\n" + point,
         {good, "2 unreadable: \"hello\" is not a GSI word", "3 P1 1234.567 45.678 - "}},
        {"garbage.gsi",
         point + "*110002+00000000000000P2 81..00+00000000ABC34567 " + point,
         {good, "2 unreadable: \"81..00+00000000ABC34567\" is not a length in millimetres or feet",
          "2 P1 1234.567 45.678 - "}},
        {"angle.gsi",
         "*110002+00000000000000P2 21.329+0000000001234567 \r\n",
         {"1 unreadable: \"21.329+0000000001234567\" is not an angle in gon, degrees or mil"}},
        {"bad.dat",
         "P1,1.0,2.0\r\nP2,12a,3.0\r\n",
         {"1 P1 1.0 2.0 - ", "2 unreadable: field 2: \"12a\" is not a number"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.name, c.bytes), (ReadResult{c.events, ""})) << c.name;
    }
}

TEST(FieldFile, FilesThatAreNoFieldFilesAreRefused) {
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
                     "ELF\x02\x01\x01\0\0\0\x03\n",
                     12),
         "line 1: the line holds a NUL byte; this is not a text file"},
        {"long.gsi", point + std::string(LineReader::kMaxLineBytes + 1, '1'),
         "line 2: the line is longer than 4194304 bytes; this is not a field file"},
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
