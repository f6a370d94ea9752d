#include "legacyxfer/PointFileExport.h"

#include "fielddata/DatFileWriter.h"
#include "fielddata/GsiJobReader.h"
#include "fielddata/PointSet.h"
#include "legacyxfer/CaptureCheck.h"
#include "legacyxfer/VerifiedWrite.h"

#include <fstream>
#include <iterator>

PointFileExport::Result PointFileExport::Write(const std::string& gsiFile,
                                               const std::string& datFile, bool overwrite) {
    Result result;
    std::ifstream in(gsiFile, std::ios::binary);
    if (!in) {
        result.message = gsiFile + ": cannot be read";
        return result;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    // The capture's own line splitting: CR LF, LF and CR alone alike.
    CaptureCheck lines;
    lines.Take(bytes, {});
    lines.Finish();
    PointSet points;
    GsiJobReader reader(points);
    for (const CheckedLine& line : lines.TakeLines()) {
        std::string reason;
        if (!reader.ReadLine(line.text, line.number, reason)) {
            result.skipped.push_back("line " + std::to_string(line.number) + ": " + reason);
        }
    }
    std::string text;
    for (const auto& point : points.Points()) {
        if (!DatFileWriter::AppendLine(point, text)) {
            result.skipped.push_back("line " + std::to_string(point.line) +
                                     ": coordinates too large for a point file");
            continue;
        }
        ++result.points;
    }
    const auto written = VerifiedWrite::Write(datFile, text, overwrite);
    result.written = written.status == VerifiedWrite::Status::Written;
    result.message = result.written ? datFile + ": " + std::to_string(result.points) + " points"
                                    : written.message;
    return result;
}
