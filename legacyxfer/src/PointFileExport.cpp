#include "legacyxfer/PointFileExport.h"

#include "fielddata/DatFileWriter.h"
#include "fielddata/FieldFile.h"
#include "fielddata/PointSet.h"
#include "legacyxfer/VerifiedWrite.h"

PointFileExport::Result PointFileExport::Write(const std::string& gsiFile,
                                               const std::string& datFile, bool overwrite) {
    Result result;
    // The suite's one field-file reader: any line ends, blocks on one line,
    // end-of-file padding; observations reduced from their set-up.
    PointSet points;
    if (const auto error = FieldFile::Read(gsiFile, points)) {
        result.message = gsiFile + ": " + error->Text();
        return result;
    }
    for (const SkippedBlock& block : points.Skipped()) {
        if (block.kind == SkippedBlock::Kind::Unreadable) {
            result.skipped.push_back("line " + std::to_string(block.line) + ": " + block.reason);
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
