#include "coordbook/PointBook.h"

#include <algorithm>

PointBook::PointBook(BookFormat format, std::vector<BookRecord> records,
                     std::vector<FieldFileError> problems)
    : format_(format), records_(std::move(records)), problems_(std::move(problems)) {
    Index();
}

BookRecord::End PointBook::NewLineEnd() const {
    for (const BookRecord& record : records_) {
        if (record.end == BookRecord::End::CrLf || record.end == BookRecord::End::Lf ||
            record.end == BookRecord::End::Cr) {
            return record.end;
        }
    }
    return BookRecord::End::CrLf;
}

std::optional<std::size_t> PointBook::RowOfRecord(std::size_t record) const {
    const std::size_t row = RowsBefore(record);
    if (row == rows_.size() || rows_[row] != record) {
        return std::nullopt;
    }
    return row;
}

std::size_t PointBook::RowsBefore(std::size_t record) const {
    return static_cast<std::size_t>(std::lower_bound(rows_.begin(), rows_.end(), record) -
                                    rows_.begin());
}

PointValues PointBook::ValuesOfRow(std::size_t row) const {
    const BookRecord& record = Row(row);
    return {record.point.name, record.point.code, record.exact};
}

void PointBook::Index() {
    rows_.clear();
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].IsPoint()) {
            rows_.push_back(i);
        }
    }
}

void PointBook::Swap(std::vector<Placed>& records) {
    for (auto& [index, record] : records) {
        std::swap(records_[index], record);
    }
    // A point may have become another kind of line, or the other way round.
    const bool sameKinds = std::all_of(records.begin(), records.end(), [this](const Placed& p) {
        return p.second.IsPoint() == records_[p.first].IsPoint();
    });
    if (!sameKinds) {
        Index();
    }
}

void PointBook::Insert(std::vector<Placed> records) {
    std::vector<BookRecord> merged;
    merged.reserve(records_.size() + records.size());
    auto next = records.begin();
    for (std::size_t i = 0; i < records_.size() || next != records.end();) {
        const bool inserted =
            next != records.end() && (next->first == merged.size() || i == records_.size());
        if (inserted) {
            merged.push_back(std::move(next->second));
            ++next;
        } else {
            merged.push_back(std::move(records_[i++]));
        }
    }
    records_ = std::move(merged);
    Index();
}

std::vector<PointBook::Placed> PointBook::Remove(const std::vector<std::size_t>& indices) {
    std::vector<Placed> removed;
    removed.reserve(indices.size());
    std::vector<BookRecord> kept;
    kept.reserve(records_.size() - std::min(indices.size(), records_.size()));
    auto next = indices.begin();
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (next != indices.end() && *next == i) {
            removed.emplace_back(i, std::move(records_[i]));
            ++next;
        } else {
            kept.push_back(std::move(records_[i]));
        }
    }
    records_ = std::move(kept);
    Index();
    return removed;
}
