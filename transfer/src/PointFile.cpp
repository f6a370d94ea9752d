#include "transfer/PointFile.h"

#include "transfer/CassConversion.h"
#include "transfer/DestinationFile.h"

namespace {

class Uncounted final : public ByteSink {
public:
    void Write(std::string_view /*bytes*/) override {}
};

} // namespace

PointFile::Result PointFile::Write(const std::string& path, std::string_view collected,
                                   DestinationFile::IfExists ifExists, std::string& error,
                                   std::size_t* points) {
    // A first pass that writes nothing: the file is created only for data
    // that gives points.
    Uncounted nowhere;
    CassConversion look(nowhere);
    look.Convert(collected);
    if (look.LocatedPoints() == 0) {
        error = "No point file was written to \"" + path + "\": the data received (" +
                std::to_string(look.Points()) +
                (look.Points() == 1 ? " point block" : " point blocks") +
                ") holds no coordinates; a point file needs the fixed points "
                "(\"COORDS\").";
        return Result::NoCoordinates;
    }
    DestinationFile file(path, ifExists);
    if (file.Create()) {
        CassConversion(file).Convert(collected);
    }
    if (!file.Commit()) {
        // The caller still holds the data; a half-made point file is no use.
        file.Discard();
        error = file.Error();
        return Result::FileFailed;
    }
    if (points != nullptr) {
        *points = look.Points();
    }
    return Result::Written;
}
