#include "coordbook/BookLoader.h"

#include "fielddata/FieldFile.h"
#include "fielddata/LineReader.h"

BookLoader::Result BookLoader::Load(const std::string& path) {
    BookLoader loader(FieldFile::KindOf(path) == FieldFile::Kind::PointFile);
    bool ended = true;
    const auto error = LineReader::Read(
        path,
        [&loader](std::string_view line, std::size_t number, std::string& /*reason*/) {
            loader.ReadLine(line, number);
            return true;
        },
        &ended);
    if (error) {
        return {nullptr, error};
    }
    if (!ended) {
        BookRecord::End& end = loader.records_.back().end;
        end = end == BookRecord::End::CrLf ? BookRecord::End::Cr : BookRecord::End::None;
    }
    const BookFormat format = loader.pointFile_
                                  ? BookFormat::Dat
                                  : BookFormats::OfWidth(loader.width_.value_or(GsiWidth::Gsi16));
    return {std::make_unique<PointBook>(format, std::move(loader.records_),
                                        std::move(loader.problems_)),
            std::nullopt};
}

void BookLoader::ReadLine(std::string_view line, std::size_t number) {
    BookRecord record;
    record.line = number;
    record.end = line.ends_with('\r') ? BookRecord::End::CrLf : BookRecord::End::Lf;
    record.text = line.substr(0, line.size() - (record.end == BookRecord::End::CrLf ? 1 : 0));
    if (pointFile_) {
        ReadPointFileLine(record);
    } else {
        ReadGsiBlock(record);
    }
    records_.push_back(std::move(record));
}

bool BookLoader::Readable(bool read, BookRecord& record, const std::string& reason) {
    if (!read) {
        record.kind = BookRecord::Kind::Bad;
        problems_.push_back({record.line, reason});
    }
    return read;
}

void BookLoader::ReadPointFileLine(BookRecord& record) {
    std::string reason;
    if (!Readable(fields_.Read(record.text, reason), record, reason)) {
        return;
    }
    if (fields_.IsPoint()) {
        record.SetPoint(fields_.Name(), fields_.Code(),
                        {*fields_.East(), *fields_.North(), fields_.Height()});
    }
}

void BookLoader::ReadGsiBlock(BookRecord& record) {
    std::string reason;
    if (!Readable(block_.Read(record.text, reason), record, reason)) {
        return;
    }
    if (!width_ && !block_.Words().empty()) {
        width_ = block_.Width();
    }
    switch (block_.Type()) {
    case GsiBlock::Kind::Code:
        code_ = block_.Code();
        record.kind = BookRecord::Kind::Code;
        record.point.code = code_;
        break;
    case GsiBlock::Kind::Point:
        record.SetPoint(block_.Name(), code_, {*block_.East(), *block_.North(), block_.Height()});
        break;
    default:
        break;
    }
}
