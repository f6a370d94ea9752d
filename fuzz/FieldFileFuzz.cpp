// The readers of field files over arbitrary lines: the first byte picks a
// GSI job or a point file, the rest is split into lines as LineReader
// hands them over. Every point must come from the line being read, with
// finite coordinates, and a refused line or block must say why.
#include "FuzzCheck.h"
#include "fielddata/DatFileReader.h"
#include "fielddata/GsiJobReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

class CheckingSink final : public PointSink {
public:
    void OnPoint(const SurveyPoint& point) override {
        FuzzCheck(point.line == line, "a point comes from the line being read");
        FuzzCheck(std::isfinite(point.east) && std::isfinite(point.north) &&
                      (!point.height || std::isfinite(*point.height)),
                  "coordinates are finite");
        FuzzCheck(point.places >= 0 && point.places <= 18, "places are those of a number");
    }
    void OnSkipped(const SkippedBlock& block) override {
        // Observations held back for a set-up are reported when a later
        // line shows the file holds coordinates.
        FuzzCheck(block.line <= line, "a skipped block comes from a line read so far");
        FuzzCheck(block.kind != SkippedBlock::Kind::Unreadable || !block.reason.empty(),
                  "an unreadable block says why");
    }

    std::size_t line = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    CheckingSink sink;
    std::unique_ptr<FieldLineReader> reader;
    if (data[0] % 2 == 0) {
        reader = std::make_unique<GsiJobReader>(sink);
    } else {
        reader = std::make_unique<DatFileReader>(sink);
    }
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        const std::string_view line = rest.substr(0, lf);
        rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
        std::string reason;
        if (!reader->ReadLine(line, ++sink.line, reason)) {
            FuzzCheck(!reason.empty(), "a refused line says why");
            break;
        }
    }
    return 0;
}
