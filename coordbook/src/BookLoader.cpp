#include "coordbook/BookLoader.h"

#include "fielddata/DatFileReader.h"
#include "fielddata/FieldFile.h"
#include "fielddata/GsiBlock.h"
#include "fielddata/GsiJobReader.h"
#include "fielddata/PolarReduction.h"

namespace {

BookRecord::End EndOf(LineReader::End end) {
    switch (end) {
    case LineReader::End::CrLf:
        return BookRecord::End::CrLf;
    case LineReader::End::Lf:
        return BookRecord::End::Lf;
    case LineReader::End::Cr:
        return BookRecord::End::Cr;
    case LineReader::End::None:
        break;
    }
    return BookRecord::End::None;
}

} // namespace

BookLoader::Result BookLoader::Load(const std::string& path) {
    BookLoader loader(FieldFile::KindOf(path) == FieldFile::Kind::PointFile);
    PointSink& sink = loader;
    std::unique_ptr<FieldLineReader> reader;
    if (loader.pointFile_) {
        reader = std::make_unique<DatFileReader>(sink);
    } else {
        reader = std::make_unique<GsiJobReader>(sink);
    }
    const auto error =
        LineReader::Read(path, [&](const LineReader::Line& line, std::string& /*reason*/) {
            const std::size_t first = loader.records_.size();
            loader.ReadLine(line);
            for (std::size_t i = first; i < loader.records_.size(); ++i) {
                std::string reason;
                if (!reader->ReadLine(LineReader::WithoutPadding(loader.records_[i].text), i + 1,
                                      reason)) {
                    loader.OnSkipped({SkippedBlock::Kind::Unreadable, i + 1, std::move(reason)});
                }
            }
            return true;
        });
    if (error) {
        return {nullptr, error};
    }
    reader->Finish();
    const BookFormat format = loader.pointFile_
                                  ? BookFormat::Dat
                                  : BookFormats::OfWidth(loader.width_.value_or(GsiWidth::Gsi16));
    return {std::make_unique<PointBook>(format, std::move(loader.records_),
                                        std::move(loader.problems_)),
            std::nullopt};
}

// Several GSI blocks on one line become a record each, joined without a
// line end, so that each can be changed on its own.
void BookLoader::ReadLine(const LineReader::Line& line) {
    const std::string_view text = line.text;
    if (pointFile_) {
        Add(text, EndOf(line.end), line.number);
        return;
    }
    const std::string_view content = LineReader::WithoutPadding(text);
    std::size_t at = 0;
    while (at < content.size()) {
        const std::size_t end = GsiBlock::BlockEnd(content, at);
        if (end == content.size()) {
            break;
        }
        Add(text.substr(at, end - at), BookRecord::End::Joined, line.number);
        at = end;
    }
    Add(text.substr(at), EndOf(line.end), line.number);
}

void BookLoader::Add(std::string_view text, BookRecord::End end, std::size_t line) {
    BookRecord record;
    record.text = text;
    record.end = end;
    record.line = line;
    records_.push_back(std::move(record));
    if (!pointFile_ && !width_) {
        GsiBlock block;
        std::string reason;
        if (block.Read(LineReader::WithoutPadding(records_.back().text), reason) &&
            !block.Words().empty()) {
            width_ = block.Width();
        }
    }
}

void BookLoader::OnGivenPoint(const SurveyPoint& point, const ExactCoordinates& exact) {
    RecordOf(point.line).SetPoint(point.name, point.code, exact);
}

// Computed points, shown with their coordinates to a tenth of a millimetre.
void BookLoader::OnPoint(const SurveyPoint& point) {
    BookRecord& record = RecordOf(point.line);
    if (point.origin == SurveyPoint::Origin::Station) {
        return; // a set-up stays a line of the job, not a point of the book
    }
    const auto at = ExactCoordinates::Of(point, PolarReduction::kPlaces);
    if (!at) {
        record.kind = BookRecord::Kind::Bad;
        problems_.push_back({record.line, "the coordinates are too large"});
        return;
    }
    record.SetPoint(point.name, point.code, *at);
    record.point.origin = point.origin;
}

void BookLoader::OnSkipped(const SkippedBlock& block) {
    if (block.kind != SkippedBlock::Kind::Unreadable) {
        return;
    }
    BookRecord& record = RecordOf(block.line);
    record.kind = BookRecord::Kind::Bad;
    problems_.push_back({record.line, block.reason});
}

void BookLoader::OnCode(std::string_view code, std::size_t number) {
    BookRecord& record = RecordOf(number);
    record.kind = BookRecord::Kind::Code;
    record.point.code = code;
}
