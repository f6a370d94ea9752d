#include "coordbook/RecordEditor.h"

#include "coordbook/PointCheck.h"
#include "fielddata/DatFileWriter.h"
#include "fielddata/FieldFileError.h"
#include "fielddata/GsiBlock.h"
#include "fielddata/GsiBlockEdit.h"
#include "fielddata/GsiJobWriter.h"

#include <algorithm>
#include <vector>

using Splice = GsiBlockEdit::Splice;

RecordEditor::RecordEditor(BookFormat format) : format_(format) {}

bool RecordEditor::Fits(const PointValues& values, std::string& reason) const {
    if (!BookFormats::IsGsi(format_)) {
        const auto problem = PointCheck::PointFileNameProblem(values.name);
        reason = problem ? "name: " + *problem : "";
        return !problem;
    }
    const GsiWidth width = BookFormats::WidthOf(format_);
    if (const auto problem = PointCheck::GsiTextProblem(values.name, width)) {
        reason = "name: " + *problem;
        return false;
    }
    if (const auto problem = PointCheck::GsiTextProblem(values.code, width)) {
        reason = "code: " + *problem;
        return false;
    }
    return true;
}

// A GSI word holds a coordinate with its units' places ("-1" as
// "-1.000"): the point takes its values from what the block now holds.
void RecordEditor::Settle(BookRecord& record, const PointValues& values) const {
    ExactCoordinates at = values.at;
    GsiBlock block;
    std::string reason;
    if (BookFormats::IsGsi(format_) && block.Read(record.text, reason)) {
        at = {*block.East(), *block.North(), block.Height()};
    }
    record.SetPoint(values.name, values.code, at);
}

std::optional<BookRecord> RecordEditor::Changed(const BookRecord& old, const PointValues& values,
                                                std::string& reason) const {
    if (!Fits(values, reason)) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    if (BookFormats::IsGsi(format_)) {
        text = ChangedBlock(old, values, reason);
    } else {
        text = DatFileWriter::Line(values.name, values.at, values.code);
    }
    if (!text) {
        return std::nullopt;
    }
    BookRecord record = old;
    record.text = std::move(*text);
    Settle(record, values);
    return record;
}

std::optional<BookRecord> RecordEditor::Made(const PointValues& values, const BookRecord* before,
                                             BookRecord::End end, std::string& reason) const {
    if (!Fits(values, reason)) {
        return std::nullopt;
    }
    BookRecord record;
    record.end = end;
    if (BookFormats::IsGsi(format_)) {
        GsiJobWriter writer(BookFormats::WidthOf(format_));
        writer.ContinueAfter(before != nullptr ? GsiBlockEdit::BlockNumber(before->text) : 0);
        const auto block = writer.PointBlock(values.name, values.at);
        if (!block) {
            reason = "a coordinate does not fit " + BookFormats::Title(format_);
            return std::nullopt;
        }
        record.text = *block;
    } else {
        record.text = DatFileWriter::Line(values.name, values.at, values.code);
    }
    Settle(record, values);
    return record;
}

std::optional<std::string> RecordEditor::ChangedBlock(const BookRecord& old,
                                                      const PointValues& values,
                                                      std::string& reason) const {
    GsiBlock block;
    if (!block.Read(old.text, reason) || block.Words().empty()) {
        return std::nullopt;
    }
    const GsiWidth width = block.Width();
    const auto& words = block.Words();
    const auto head = [&](std::size_t word) {
        return old.text.substr(words[word].offset, GsiWord::kHeadSize);
    };
    const auto end = [&](std::size_t word) { return words[word].offset + words[word].size; };
    std::vector<Splice> splices;
    bool fits = true;
    const auto put = [&](std::size_t at, std::size_t size, const std::optional<std::string>& word,
                         const char* before, const char* after) {
        fits = fits && word.has_value();
        splices.push_back({at, size, before + word.value_or("") + after});
    };
    if (values.name != old.point.name) {
        const auto word = block.Find(GsiBlock::kPointName);
        if (word) {
            // A "+" in the information would be taken for the start of the name.
            std::string nameHead = head(*word);
            std::replace(nameHead.begin(), nameHead.end(), '+', '0');
            put(words[*word].offset, words[*word].size,
                GsiWord::WriteText(nameHead, values.name, width), "", "");
        } else {
            put(words[0].offset, 0,
                GsiWord::WriteText(
                    GsiBlockEdit::NumberedHead("11", GsiBlockEdit::BlockNumber(old.text)),
                    values.name, width),
                "", " ");
        }
    }
    if (!block.Find(GsiBlock::kEast)) {
        // A point computed from an observation: its coordinates go into the
        // block, which then keeps them.
        std::string added;
        const std::pair<const char*, std::optional<FixedDecimal>> coordinates[] = {
            {"81..00", values.at.east}, {"82..00", values.at.north}, {"83..00", values.at.height}};
        for (const auto& [index, value] : coordinates) {
            const auto word = value ? GsiWord::WriteLengthIn(index, *value, width) : std::nullopt;
            fits = fits && (word || !value);
            added += word ? " " + *word : "";
        }
        splices.push_back({end(words.size() - 1), 0, added});
    } else {
        const auto length = [&](int index, const FixedDecimal& value, const FixedDecimal& was) {
            if (!(value == was)) {
                const std::size_t word = *block.Find(index);
                put(words[word].offset, words[word].size,
                    GsiWord::WriteLengthIn(head(word), value, width), "", "");
            }
        };
        length(GsiBlock::kEast, values.at.east, old.exact.east);
        length(GsiBlock::kNorth, values.at.north, old.exact.north);
        if (values.at.height != old.exact.height) {
            const auto word = block.Find(GsiBlock::kHeight);
            if (!values.at.height) {
                const bool blank = end(*word) < old.text.size() && old.text[end(*word)] == ' ';
                splices.push_back({words[*word].offset, words[*word].size + (blank ? 1 : 0), ""});
            } else if (word) {
                length(GsiBlock::kHeight, *values.at.height, *old.exact.height);
            } else {
                const std::size_t north = *block.Find(GsiBlock::kNorth);
                put(end(north), 0,
                    GsiWord::WriteLengthIn("83" + head(north).substr(2), *values.at.height, width),
                    " ", "");
            }
        }
    }
    if (!fits) {
        reason = "a coordinate does not fit " + BookFormats::Title(BookFormats::OfWidth(width));
        return std::nullopt;
    }
    return GsiBlockEdit::Applied(old.text, std::move(splices));
}
