#include "drawexport/InputReport.h"

namespace {

class Scan final : public PointSink {
public:
    explicit Scan(InputReport& report) : report_(report) {}
    void OnPoint(const SurveyPoint& point) override {
        report_.extents.Add(point);
        report_.computed += point.Computed() ? 1 : 0;
        report_.fromZero += point.origin == SurveyPoint::Origin::ReducedFromZero ? 1 : 0;
        report_.stations += point.origin == SurveyPoint::Origin::Station ? 1 : 0;
    }
    void OnSkipped(const SkippedBlock& block) override { report_.skipped.push_back(block); }

private:
    InputReport& report_;
};

} // namespace

InputReport InputReport::Of(const ExportInput& input) {
    InputReport report;
    report.path = input.Path();
    Scan scan(report);
    report.error = input.Replay(scan);
    return report;
}
