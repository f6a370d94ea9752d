#include "legacyxfer/CaptureCheck.h"

#include "fielddata/GsiBlock.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

constexpr int kBlockNumbers = 10000; // four digits, then they start again

// One note per line, however many stray bytes it holds.
std::string ByteNote(std::size_t count, unsigned char first, std::size_t column) {
    char text[128];
    if (count == 1) {
        std::snprintf(text, sizeof text, "byte 0x%02X at column %zu does not belong in a GSI line",
                      first, column);
    } else {
        std::snprintf(text, sizeof text,
                      "%zu bytes do not belong in a GSI line, the first 0x%02X at column %zu",
                      count, first, column);
    }
    return text;
}

} // namespace

void CaptureCheck::Take(std::string_view data, const std::vector<LineErrorMarks::Mark>& marks) {
    pendingMarks_.insert(pendingMarks_.end(), marks.begin(), marks.end());
    for (const char byte : data) {
        ++counts_.bytes;
        if (byte == '\n' && afterCr_) {
            afterCr_ = false;
            lineStart_ = counts_.bytes;
            continue;
        }
        afterCr_ = byte == '\r';
        if (byte == '\r' || byte == '\n') {
            EndLine();
            lineStart_ = counts_.bytes;
        } else {
            current_.push_back(byte);
            // A stream without line ends is shown in pieces rather than held whole.
            if (current_.size() >= kMaxLine) {
                EndLine();
                lineStart_ = counts_.bytes;
            }
        }
    }
}

void CaptureCheck::NoteOverruns(std::uint64_t count) {
    pendingOverruns_ += count;
}

void CaptureCheck::Finish() {
    if (!current_.empty() || !pendingMarks_.empty() || pendingOverruns_ > 0) {
        EndLine(true);
    }
}

std::vector<CheckedLine> CaptureCheck::TakeLines() {
    return std::exchange(ready_, {});
}

std::optional<int> CaptureCheck::BlockNumber(std::string_view line) {
    if (!line.empty() && line.front() == '*') {
        line.remove_prefix(1);
    }
    if (line.size() < 6 || !line.starts_with("11")) {
        return std::nullopt;
    }
    int number = 0;
    for (const char digit : line.substr(2, 4)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        number = number * 10 + (digit - '0');
    }
    return number;
}

void CaptureCheck::EndLine(bool last) {
    CheckedLine line;
    line.number = ++counts_.lines;
    line.text = std::exchange(current_, {});
    // Marks on the line end itself belong to this line too.
    const std::uint64_t end = last ? UINT64_MAX : counts_.bytes;
    for (const auto& mark : pendingMarks_) {
        if (mark.offset >= end) {
            continue;
        }
        ++counts_.lineErrors;
        const std::uint64_t column = mark.offset >= lineStart_ ? mark.offset - lineStart_ + 1 : 1;
        line.notes.push_back(mark.kind == LineErrorMarks::Kind::Break
                                 ? "a break on the line at column " + std::to_string(column)
                                 : "parity or framing error at column " + std::to_string(column));
    }
    std::erase_if(pendingMarks_, [&](const auto& mark) { return mark.offset < end; });
    if (pendingOverruns_ > 0) {
        counts_.overruns += pendingOverruns_;
        line.notes.push_back(std::to_string(pendingOverruns_) +
                             " byte(s) lost to an overrun of the port while this line came");
        pendingOverruns_ = 0;
    }
    std::size_t stray = 0;
    std::size_t firstColumn = 0;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line.text[i]);
        if (byte < 0x20 || byte >= 0x7F) {
            firstColumn = stray++ == 0 ? i + 1 : firstColumn;
        }
    }
    if (stray > 0) {
        counts_.badBytes += stray;
        line.notes.push_back(
            ByteNote(stray, static_cast<unsigned char>(line.text[firstColumn - 1]), firstColumn));
    }
    CheckBlock(line);
    for (const std::string& note : line.notes) {
        problems_.push_back("line " + std::to_string(line.number) + ": " + note);
    }
    ready_.push_back(std::move(line));
}

// The block number is followed even on a line whose words cannot be read
// (a stray byte): the line came, so its block was not lost.
void CaptureCheck::CheckBlock(CheckedLine& line) {
    GsiBlock block;
    std::string reason;
    if (block.Read(line.text, reason) && block.Type() != GsiBlock::Kind::Empty) {
        ++counts_.blocks;
        const auto kind = block.Type();
        if (kind == GsiBlock::Kind::Point || kind == GsiBlock::Kind::NoCoordinates) {
            ++counts_.points;
        }
    }
    const auto number = BlockNumber(line.text);
    if (!number) {
        return;
    }
    if (lastBlock_ && *number != (*lastBlock_ + 1) % kBlockNumbers) {
        ++counts_.blockJumps;
        const int missing = *number - *lastBlock_ - 1;
        line.notes.push_back("block number jumps from " + std::to_string(*lastBlock_) + " to " +
                             std::to_string(*number) +
                             (missing > 0 ? ": " + std::to_string(missing) + " block(s) lost"
                                          : ": blocks out of order"));
    }
    lastBlock_ = number;
}
