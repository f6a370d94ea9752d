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
    return LineReader::Read(path,
                            [&](std::string_view line, std::size_t number, std::string& reason) {
                                return reader->ReadLine(line, number, reason);
                            });
}
