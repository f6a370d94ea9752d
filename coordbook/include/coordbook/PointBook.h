#pragma once

#include "coordbook/BookFormat.h"
#include "coordbook/BookRecord.h"
#include "coordbook/PointValues.h"
#include "fielddata/FieldFileError.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

// The lines of one coordinate file in file order, and its points as rows
// (the point lines, in file order). Every change goes through Swap,
// Insert and Remove, which undo themselves: swapping again, removing what
// was inserted, inserting what was removed.
class PointBook {
public:
    using Placed = std::pair<std::size_t, BookRecord>; // record index, record

    explicit PointBook(BookFormat format = BookFormat::Gsi16, std::vector<BookRecord> records = {},
                       std::vector<FieldFileError> problems = {});

    // The file's own format: what it was read as, or made as.
    BookFormat Format() const { return format_; }
    const std::vector<BookRecord>& Records() const { return records_; }
    // The line end for new lines: that of the file's first line.
    BookRecord::End NewLineEnd() const;
    // Lines the file kind cannot hold, as they were when read.
    const std::vector<FieldFileError>& Problems() const { return problems_; }

    std::size_t Rows() const { return rows_.size(); }
    const BookRecord& Row(std::size_t row) const { return records_[rows_[row]]; }
    std::size_t RecordOfRow(std::size_t row) const { return rows_[row]; }
    // nullopt when the record is no point.
    std::optional<std::size_t> RowOfRecord(std::size_t record) const;
    // How many points come before the record.
    std::size_t RowsBefore(std::size_t record) const;
    PointValues ValuesOfRow(std::size_t row) const;

    // Each record takes the other's place.
    void Swap(std::vector<Placed>& records);
    // Records by the index each will have, ascending.
    void Insert(std::vector<Placed> records);
    // Records by index, ascending; returns them with their indices, ready
    // to be inserted again.
    std::vector<Placed> Remove(const std::vector<std::size_t>& indices);

private:
    void Index();

    BookFormat format_;
    std::vector<BookRecord> records_;
    std::vector<std::size_t> rows_;
    std::vector<FieldFileError> problems_;
};
