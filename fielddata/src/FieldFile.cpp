#include "fielddata/FieldFile.h"

#include "fielddata/DatFileReader.h"
#include "fielddata/GsiJobReader.h"
#include "fielddata/LineReader.h"

#include <algorithm>
#include <cctype>
#include <memory>

FieldFile::Kind FieldFile::KindOf(std::string_view path) {
    constexpr std::string_view kPointFile = ".dat";
    if (path.size() < kPointFile.size()) {
        return Kind::GsiJob;
    }
    const std::string_view end = path.substr(path.size() - kPointFile.size());
    const bool pointFile =
        std::equal(end.begin(), end.end(), kPointFile.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    return pointFile ? Kind::PointFile : Kind::GsiJob;
}

std::optional<FieldFileError> FieldFile::Read(const std::string& path, PointSink& sink) {
    std::unique_ptr<FieldLineReader> reader;
    if (KindOf(path) == Kind::PointFile) {
        reader = std::make_unique<DatFileReader>(sink);
    } else {
        reader = std::make_unique<GsiJobReader>(sink);
    }
    // A line that cannot be read is named and passed over: one bad line
    // never costs the rest of the file.
    auto error = LineReader::Read(path, [&](const LineReader::Line& line, std::string& /*why*/) {
        std::string reason;
        if (!reader->ReadLine(LineReader::WithoutPadding(line.text), line.number, reason)) {
            sink.OnSkipped({SkippedBlock::Kind::Unreadable, line.number, std::move(reason)});
        }
        return true;
    });
    if (!error) {
        reader->Finish();
    }
    return error;
}
