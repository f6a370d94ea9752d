// Stations and LandXML: the chainages a surveyor gets, the rows of the
// CSV, the GSI-16 job read back by the suite's reader, and LandXML written
// and read back to the same elements, with gaps and kinks named.

#include "routebook/AlignmentFiles.h"
#include "routebook/LandXmlAlignment.h"
#include "routebook/StationWriter.h"

#include "fielddata/GsiJobReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct PointCollector : PointSink {
    void OnPoint(const SurveyPoint& point) override { points.push_back(point); }
    void OnSkipped(const SkippedBlock&) override {}
    std::vector<SurveyPoint> points;
};

const char* const kMain = "START,0.000,1250.000,2480.000,52.3140\r\nSTRAIGHT,120.000\r\n"
                          "SPIRAL,60.000,350.000\r\nARC,85.500,350.000\r\nSPIRAL,60.000,350.000\r\n"
                          "STRAIGHT,210.250\r\n";
const char* const kRamp = "START,12.500,1402.118,2551.906,96.0000\r\nSTRAIGHT,35.000\r\n"
                          "ARC,48.200,-120.000\r\nSTRAIGHT,64.800\r\n";

TEST(Stations, EveryIntervalAndEveryElementEndInOrder) {
    const HorizontalAlignment line(HalFile::Read(kRamp).Records());
    const std::vector<double> expected{12.5, 40, 47.5, 80, 95.7, 120, 160, 160.5};
    const auto chainages = StationTable::Chainages(line, 40);
    ASSERT_EQ(chainages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(chainages[i], expected[i], 1e-9) << i;
    }
    // An interval multiple within 0.1 mm of an element end is that end.
    EXPECT_EQ(StationTable::Chainages(line, 47.50005).size(), 6u);
}

TEST(Stations, CsvRowsAndTheGsiJobCarryTheSamePoints) {
    const HorizontalAlignment line(HalFile::Read(kMain).Records());
    const VerticalProfile profile({{0, 100, 0}, {600, 106, 0}});
    const auto stations = StationTable::Build(line, &profile, 100, 2.5, 3);
    ASSERT_EQ(stations.size(), 3u * 11);
    const std::string csv = StationWriter::Csv(stations);
    std::istringstream rows(csv);
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "chainage,offset,easting,northing,bearing,height\r");
    std::getline(rows, row);
    EXPECT_EQ(row, "0.000,0.000,1250.000,2480.000,52.3140,100.000\r");
    std::getline(rows, row);
    EXPECT_EQ(row.substr(0, 13), "0.000,-2.500,");

    StationTable::Station far{-1.0005, 0, 2e15, -3e13, 0, std::nullopt};
    EXPECT_EQ(StationWriter::Csv({far}).substr(49),
              "-1.001,0.000,2000000000000000.000,-30000000000000.000,0.0000,\r\n");

    std::string error;
    const auto gsi = StationWriter::Gsi16(stations, error);
    ASSERT_TRUE(gsi) << error;
    PointCollector read;
    GsiJobReader reader(read);
    std::istringstream lines(*gsi);
    std::size_t number = 0;
    for (std::string block; std::getline(lines, block);) {
        ASSERT_TRUE(reader.ReadLine(block.substr(0, block.size() - 1), ++number, error)) << error;
    }
    ASSERT_EQ(read.points.size(), stations.size());
    for (std::size_t i = 0; i < stations.size(); ++i) {
        EXPECT_EQ(read.points[i].name, StationWriter::PointName(stations[i]));
        EXPECT_NEAR(read.points[i].east, stations[i].east, 0.00051);
        EXPECT_NEAR(read.points[i].north, stations[i].north, 0.00051);
        EXPECT_NEAR(*read.points[i].height, *stations[i].height, 0.00051);
    }
    EXPECT_EQ(read.points[2].name, "R0.000");
}

TEST(LandXml, WrittenAlignmentsReadBackToTheSameFile) {
    for (const char* text : {kMain, kRamp}) {
        const HalFile hal = HalFile::Read(text);
        const LandXmlAlignment out{"ROAD", hal.Records(), {{0, 10, 0}, {150, 12, 80}, {300, 9, 0}}};
        std::vector<AlignmentIssue> issues;
        const LandXmlAlignment in = LandXmlAlignment::Read(out.Write(), issues);
        EXPECT_TRUE(issues.empty()) << issues.front().Text();
        EXPECT_EQ(in.name, "ROAD");
        EXPECT_EQ(HalFile::Make(in.elements).Bytes(), text);
        EXPECT_EQ(
            ValFile::Make(in.profile).Bytes(),
            "PVI,0.000,10.000,0.000\r\nPVI,150.000,12.000,80.000\r\nPVI,300.000,9.000,0.000\r\n");
    }
}

std::string Document(const std::string& coordGeom) {
    return "<?xml version=\"1.0\"?><LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
           "version=\"1.2\"><Alignments><Alignment name=\"A\" staStart=\"0\"><CoordGeom>" +
           coordGeom + "</CoordGeom></Alignment></Alignments></LandXML>";
}

TEST(LandXml, GapsKinksAndWhatTheInstrumentCannotKeepAreNamed) {
    const std::string first = "<Line><Start>0 0</Start><End>100 0</End></Line>";
    struct Case {
        std::string coordGeom;
        std::string issue;
    };
    const Case cases[] = {
        {first + "<Line><Start>101 0</Start><End>200 0</End></Line>",
         "element 2 (Line): a gap of 1.000 m after the element before it"},
        {first + "<Line><Start>100 0</Start><End>200 1</End></Line>",
         "element 2 (Line): a kink of 2062.6 seconds after the element before it"},
        {first + "<Chain>1 2</Chain>", "element 2 (Chain): not a line, curve or clothoid"},
        {first + "<Spiral length=\"10\" radiusStart=\"100\" radiusEnd=\"200\" rot=\"cw\">"
                 "<Start>100 0</Start><PI>105 0</PI><End>110 0</End></Spiral>",
         "element 2 (Spiral): only spirals between a straight and a radius can be kept"},
        {first + "<Curve rot=\"cw\" radius=\"50\" length=\"10\"><Start>100 0</Start>"
                 "<Center>100 50</Center><End>0 0</End></Curve>",
         "element 2 (Curve): ends "},
        {first + "<Line>", "LandXML: line 1: "},
    };
    for (const Case& c : cases) {
        std::vector<AlignmentIssue> issues;
        LandXmlAlignment::Read(Document(c.coordGeom), issues);
        ASSERT_FALSE(issues.empty()) << c.issue;
        EXPECT_EQ(issues[0].Text().substr(0, c.issue.size()), c.issue);
    }
}

} // namespace
