#include "drawexport/ExportRun.h"

#include "drawexport/PointWriter.h"
#include "drawexport/StagedOutput.h"

namespace {

// Passes points on to the writer, counting them and asking the progress
// callback now and then whether to go on.
class CountingSink final : public PointSink {
public:
    CountingSink(PointSink& writer, const ExportRun::Progress& progress, std::size_t total)
        : writer_(writer), progress_(progress), total_(total) {}

    void OnPoint(const SurveyPoint& point) override {
        if (cancelled_) {
            return;
        }
        writer_.OnPoint(point);
        if (++written_ % ExportRun::kProgressStep == 0 && progress_) {
            cancelled_ = !progress_(written_, total_);
        }
    }
    void OnSkipped(const SkippedBlock& /*block*/) override {}

    std::size_t Written() const { return written_; }
    bool Cancelled() const { return cancelled_; }

private:
    PointSink& writer_;
    const ExportRun::Progress& progress_;
    std::size_t total_;
    std::size_t written_ = 0;
    bool cancelled_ = false;
};

} // namespace

ExportRun::ExportRun(ExportSettings settings, std::string output)
    : settings_(settings), output_(std::move(output)) {}

std::optional<std::string> ExportRun::Write(const std::vector<const ExportInput*>& inputs,
                                            const PointExtents& extents, const Progress& progress) {
    written_ = 0;
    StagedOutput stage(output_);
    std::string error;
    if (!stage.Prepare(error)) {
        return error;
    }
    const auto writer = PointWriter::For(settings_);
    if (!writer->Open(stage.WritePath(), extents)) {
        return writer->Error();
    }
    CountingSink counter(*writer, progress, extents.Count());
    for (const ExportInput* input : inputs) {
        const auto failure = input->Replay(counter);
        if (failure) {
            return input->Path() + ": " + failure->Text();
        }
        if (!writer->Error().empty()) {
            return writer->Error();
        }
        if (counter.Cancelled()) {
            return "cancelled";
        }
    }
    if (!writer->Close()) {
        return writer->Error();
    }
    if (!stage.Commit(error)) {
        return error;
    }
    written_ = counter.Written();
    if (progress) {
        progress(written_, extents.Count());
    }
    return std::nullopt;
}
