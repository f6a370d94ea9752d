#include "coordbook/BookWriter.h"

#include "coordbook/PointCheck.h"
#include "coordbook/RecordEditor.h"
#include "fielddata/DatFileWriter.h"
#include "fielddata/GsiBlockEdit.h"
#include "fielddata/GsiJobWriter.h"
#include "fielddata/LineReader.h"

#include <algorithm>
#include <ctime>

namespace {

// Blank lines and end-of-file bytes hold nothing that could be left out.
void LeaveOut(const BookRecord& record, BookOutput& output) {
    const std::string_view content = LineReader::WithoutPadding(record.text);
    if (content.find_first_not_of(" \t") != std::string_view::npos) {
        output.leftOut.push_back(record.line);
    }
}

std::string PointNamed(const BookRecord& record) {
    return "point \"" + record.point.name + "\" (line " + std::to_string(record.line) + "): ";
}

} // namespace

BookWriter::BookWriter(BookFormat format, std::string fileName, std::string date)
    : format_(format), fileName_(std::move(fileName)), date_(std::move(date)) {}

std::string BookWriter::Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d%m%Y", &local);
    return text;
}

std::string BookWriter::JobName(std::string_view fileName, GsiWidth width) {
    std::string name;
    for (const char c : fileName) {
        const bool printable = c > ' ' && c < 0x7F;
        if (printable && !(name.empty() && c == '0') &&
            name.size() < static_cast<std::size_t>(width)) {
            name += c;
        }
    }
    return name.empty() ? "JOB" : name;
}

BookOutput BookWriter::Write(const PointBook& book) const {
    BookOutput output;
    const bool fromGsi = BookFormats::IsGsi(book.Format());
    if (fromGsi == BookFormats::IsGsi(format_)) {
        WriteSame(book, output);
    } else if (fromGsi) {
        WritePointFile(book, output);
    } else {
        WriteNewJob(book, output);
    }
    if (!output.refusal.empty()) {
        output.bytes.clear();
    }
    return output;
}

void BookWriter::WriteSame(const PointBook& book, BookOutput& output) const {
    const auto& records = book.Records();
    const bool rewiden = book.Format() != format_;
    const std::string newEnd = BookRecord::EndBytes(book.NewLineEnd());
    std::string codeInForce;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const BookRecord& record = records[i];
        // A last line without a whole line end gets one when it is last no more.
        const bool unended = record.end == BookRecord::End::None;
        const char* end =
            unended && i + 1 < records.size() ? newEnd.c_str() : BookRecord::EndBytes(record.end);
        if (record.kind == BookRecord::Kind::Bad && rewiden) {
            LeaveOut(record, output);
            continue;
        }
        if (!BookFormats::IsGsi(format_) || record.kind == BookRecord::Kind::Bad) {
            output.bytes.append(record.text).append(end);
            continue;
        }
        if (!AppendBlock(record, rewiden, codeInForce, end, output)) {
            return;
        }
    }
}

bool BookWriter::AppendBlock(const BookRecord& record, bool rewiden, std::string& codeInForce,
                             const char* end, BookOutput& output) const {
    const GsiWidth width = BookFormats::WidthOf(format_);
    if (record.kind == BookRecord::Kind::Code) {
        codeInForce = record.point.code;
    } else if (record.IsPoint() && record.point.code != codeInForce) {
        GsiJobWriter writer(width);
        writer.ContinueAfter(std::max(GsiBlockEdit::BlockNumber(record.text) - 1, 0));
        const auto block = writer.CodeBlock(record.point.code);
        if (!block) {
            output.refusal =
                PointNamed(record) + "the code does not fit " + BookFormats::Title(format_);
            return false;
        }
        output.bytes.append(*block).append(end);
        codeInForce = record.point.code;
    }
    std::string reason;
    const auto text =
        rewiden ? GsiBlockEdit::InWidth(record.text, width, reason) : std::optional(record.text);
    if (!text) {
        output.refusal =
            (record.IsPoint() ? PointNamed(record) : "line " + std::to_string(record.line) + ": ") +
            reason;
        return false;
    }
    output.bytes.append(*text).append(end);
    return true;
}

void BookWriter::WritePointFile(const PointBook& book, BookOutput& output) const {
    for (const BookRecord& record : book.Records()) {
        if (record.kind == BookRecord::Kind::Other || record.kind == BookRecord::Kind::Bad) {
            LeaveOut(record, output);
        }
        if (!record.IsPoint()) {
            continue;
        }
        if (const auto problem = PointCheck::PointFileNameProblem(record.point.name)) {
            output.refusal = PointNamed(record) + *problem;
            return;
        }
        output.bytes.append(DatFileWriter::Line(record.point.name, record.exact, record.point.code))
            .append("\r\n");
    }
}

void BookWriter::WriteNewJob(const PointBook& book, BookOutput& output) const {
    const GsiWidth width = BookFormats::WidthOf(format_);
    // JobName always fits; a date that does not is left empty.
    output.bytes = GsiBlockEdit::JobHeader(JobName(fileName_, width), date_, width)
                       .value_or(*GsiBlockEdit::JobHeader(JobName(fileName_, width), "", width));
    GsiJobWriter writer(width);
    const RecordEditor editor(format_);
    for (const BookRecord& record : book.Records()) {
        if (!record.IsPoint()) {
            LeaveOut(record, output);
            continue;
        }
        std::string reason;
        const PointValues values{record.point.name, record.point.code, record.exact};
        if (!editor.Fits(values, reason)) {
            output.refusal = PointNamed(record) + reason;
            return;
        }
        if (!writer.AppendPoint(values.name, values.code, values.at, output.bytes)) {
            output.refusal =
                PointNamed(record) + "a coordinate does not fit " + BookFormats::Title(format_);
            return;
        }
    }
}
