// Drawings and GIS files drawn by a codebook, read back by readers that are
// not ours: ezdxf for the drawing, GDAL for the GeoPackage.

#include "TempFolder.h"
#include "drawexport/CommandLine.h"

#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace {

constexpr const char* kBook =
    "codebook 1\n"
    "code KERB\n  layer KERBS\n  colour #c62828\n  symbol triangle\n  line yes\n"
    "code TREE\n  layer TREES\n  colour #2e7d32\n  symbol circle\n"
    "code WALL\n  line yes\n";

// KERB points K1, K2 with a tree between them and K3 after a pit: the
// kerb is one line in measuring order; PIT is not in the book.
constexpr const char* kJob =
    "*410001+000000000000KERB \r\n"
    "*110002+00000000000000K1 81..00+0000000000100000 82..00+0000000000200000 "
    "83..00+0000000000010000 \r\n"
    "*110003+00000000000000K2 81..00+0000000000110000 82..00+0000000000205000 "
    "83..00+0000000000010500 \r\n"
    "*410004+000000000000TREE \r\n"
    "*110005+00000000000000T1 81..00+0000000000105000 82..00+0000000000210000 "
    "83..00+0000000000011000 \r\n"
    "*410006+0000000000000PIT \r\n"
    "*110007+00000000000000P1 81..00+0000000000101000 82..00+0000000000201000 "
    "83..00+0000000000009000 \r\n"
    "*410008+000000000000KERB \r\n"
    "*110009+00000000000000K3 81..00+0000000000120000 82..00+0000000000207000 "
    "83..00+0000000000010800 \r\n"
    "*410010+000000000000WALL \r\n"
    "*110011+00000000000000W1 81..00+0000000000130000 82..00+0000000000207000 \r\n"
    "*110012+00000000000000W2 81..00+0000000000131000 82..00+0000000000208000 \r\n";

std::vector<std::string> Records(const std::string& dxf) {
    const std::string command =
        std::string(SL_SYSTEM_PYTHON) + " " + STYLED_DXF_READER + " '" + dxf + "'";
    std::vector<std::string> lines;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe)) {
            std::string line(buffer.data());
            line.pop_back();
            lines.push_back(line);
        }
        ::pclose(pipe);
    }
    return lines;
}

int Export(const TempFolder& folder, const std::string& output, std::string& out) {
    std::ostringstream o;
    std::ostringstream e;
    const int status = drawexport::CommandLine().Run(
        {"--codebook", folder.Path("topo.book"), folder.Path("job.gsi"), "-o", folder.Path(output)},
        o, e);
    out = o.str() + e.str();
    return status;
}

TEST(CodebookDrawing, LayersColoursSymbolsAndLinesFromTheBook) {
    TempFolder folder;
    folder.WriteFile("topo.book", kBook);
    folder.WriteFile("job.gsi", kJob);
    std::string out;
    ASSERT_EQ(Export(folder, "plan.dxf", out), 0) << out;
    EXPECT_NE(out.find("codes not in the codebook, drawn by code: PIT (1 point)"),
              std::string::npos)
        << out;

    const std::vector<std::string> records = Records(folder.Path("plan.dxf"));
    ASSERT_FALSE(records.empty()) << "ezdxf could not read the drawing";
    const std::vector<std::string> expected{
        "LAYER\tKERBS\t12986408", // 0xc62828
        "LAYER\tTREES\t3046706",  // 0x2e7d32
        "LAYER\tPIT\t-",          // as without a book
        "BLOCK\tSYMBOL_TRIANGLE\t1",
        "BLOCK\tSYMBOL_CIRCLE\t1",
        "INSERT\tKERBS\tSYMBOL_TRIANGLE\t100.000,200.000,10.000",
        "INSERT\tKERBS\tSYMBOL_TRIANGLE\t110.000,205.000,10.500",
        "INSERT\tKERBS\tSYMBOL_TRIANGLE\t120.000,207.000,10.800",
        "INSERT\tTREES\tSYMBOL_CIRCLE\t105.000,210.000,11.000",
        "POINT\tPIT\t256\t101.000,201.000,9.000",
        "POLYLINE\tKERBS\t22\tTrue\t100.000,200.000,10.000\t110.000,205.000,10.500\t"
        "120.000,207.000,10.800",
        // Points without a height make a flat line, on the code's own layer.
        "LWPOLYLINE\tWALL\t256\t130.000,207.000\t131.000,208.000",
    };
    for (const std::string& record : expected) {
        EXPECT_NE(std::find(records.begin(), records.end(), record), records.end()) << record;
    }
    EXPECT_EQ(std::count_if(records.begin(), records.end(),
                            [](const std::string& r) { return r.starts_with("INSERT"); }),
              4);
    EXPECT_EQ(
        std::count_if(records.begin(), records.end(),
                      [](const std::string& r) { return r.find("POLYLINE") != std::string::npos; }),
        2);
}

TEST(CodebookDrawing, GisFilesCarryTheCodesStyle) {
    TempFolder folder;
    folder.WriteFile("topo.book", kBook);
    folder.WriteFile("job.gsi", kJob);
    std::string out;
    ASSERT_EQ(Export(folder, "plan.gpkg", out), 0) << out;
    GDALAllRegister();
    std::unique_ptr<GDALDataset> file(
        GDALDataset::Open(folder.Path("plan.gpkg").c_str(), GDAL_OF_VECTOR));
    ASSERT_TRUE(file);
    std::vector<std::string> rows;
    for (auto& feature : *file->GetLayer(0)) {
        rows.push_back(std::string(feature->GetFieldAsString("name")) + " " +
                       feature->GetFieldAsString("layer") + " " +
                       feature->GetFieldAsString("colour") + " " +
                       feature->GetFieldAsString("symbol"));
    }
    EXPECT_EQ(rows,
              (std::vector<std::string>{"K1 KERBS #c62828 triangle", "K2 KERBS #c62828 triangle",
                                        "T1 TREES #2e7d32 circle", "P1   ",
                                        "K3 KERBS #c62828 triangle", "W1 WALL  ", "W2 WALL  "}));
}

} // namespace
