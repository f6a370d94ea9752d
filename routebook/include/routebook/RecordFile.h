#pragma once

#include "routebook/AlignmentLines.h"
#include "routebook/FieldNumbers.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An alignment file (Record: HalElement or VerticalPoint) kept as its lines,
// so that saving without edits writes the bytes that were read, and an edit
// rewrites only its own line. Lines that cannot be read stay in the file as
// they were and are named.
template <typename Record>
class RecordFile {
public:
    struct Unread {
        std::size_t line = 0; // 1-based
        std::string text;
        std::string reason;
    };

    static RecordFile Read(std::string_view bytes) {
        RecordFile file;
        file.lines_ = AlignmentLines::Split(bytes);
        for (std::size_t i = 0; i < file.lines_.lines.size(); ++i) {
            const std::string& text = file.lines_.lines[i].text;
            if (text.find_first_not_of(" \t") == std::string::npos) {
                continue;
            }
            std::string error;
            if (auto record = Record::Parse(text, error)) {
                file.records_.push_back(*record);
                file.lineOf_.push_back(i);
            } else {
                file.unread_.push_back({i + 1, text, error});
            }
        }
        return file;
    }

    // A new file in the instrument's layout: one line per record, CR LF
    // after each.
    static RecordFile Make(const std::vector<Record>& records) {
        std::string bytes;
        for (const Record& record : records) {
            bytes += record.Format() + "\r\n";
        }
        return Read(bytes);
    }

    std::string Bytes() const { return lines_.Join(); }
    const std::vector<Record>& Records() const { return records_; }
    const std::vector<Unread>& Unreadable() const { return unread_; }
    std::size_t LineOf(std::size_t record) const { return lineOf_.at(record) + 1; }

    void Replace(std::size_t index, const Record& record) {
        records_.at(index) = record;
        lines_.lines[lineOf_[index]].text = record.Format();
    }

    // Before the record at index; at Records().size() after the last one.
    void Insert(std::size_t index, const Record& record) {
        std::size_t line = lines_.lines.size();
        if (index < records_.size()) {
            line = lineOf_[index];
        } else if (!lineOf_.empty()) {
            line = lineOf_.back() + 1;
        }
        AlignmentLines::Line added{record.Format(), lines_.NewLineEnd()};
        if (line == lines_.lines.size() && line > 0 && lines_.lines[line - 1].end.empty()) {
            // The file ended without a line end: the old last line takes one,
            // the new last line none, as the file was.
            lines_.lines[line - 1].end.swap(added.end);
        }
        lines_.lines.insert(lines_.lines.begin() + static_cast<std::ptrdiff_t>(line), added);
        records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), record);
        lineOf_.insert(lineOf_.begin() + static_cast<std::ptrdiff_t>(index), line);
        Shift(index + 1, line, 1);
    }

    void Remove(std::size_t index) {
        const std::size_t line = lineOf_.at(index);
        const bool wasLast = line + 1 == lines_.lines.size();
        if (wasLast && line > 0) {
            lines_.lines[line - 1].end = lines_.lines[line].end;
        }
        lines_.lines.erase(lines_.lines.begin() + static_cast<std::ptrdiff_t>(line));
        records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
        lineOf_.erase(lineOf_.begin() + static_cast<std::ptrdiff_t>(index));
        Shift(index, line, -1);
    }

private:
    void Shift(std::size_t fromRecord, std::size_t atLine, int by) {
        for (std::size_t i = fromRecord; i < lineOf_.size(); ++i) {
            lineOf_[i] = static_cast<std::size_t>(static_cast<long>(lineOf_[i]) + by);
        }
        for (Unread& unread : unread_) {
            if (unread.line - 1 >= atLine + (by < 0 ? 1 : 0)) {
                unread.line = static_cast<std::size_t>(static_cast<long>(unread.line) + by);
            }
        }
    }

    AlignmentLines lines_;
    std::vector<Record> records_;
    std::vector<std::size_t> lineOf_;
    std::vector<Unread> unread_;
};
