#include "coordbook/BookEdits.h"

#include "coordbook/PointCheck.h"

#include <algorithm>

namespace {

// Numbers of up to 18 digits count without overflow.
constexpr std::size_t kMaxNumberDigits = 18;

// The name before its trailing number, and the number's digits (none for
// a number too long to count with).
std::pair<std::string, std::string> SplitNumber(const std::string& name) {
    const std::size_t digits = name.find_last_not_of("0123456789") + 1;
    if (name.size() - digits > kMaxNumberDigits) {
        return {name, ""};
    }
    return {name.substr(0, digits), name.substr(digits)};
}

} // namespace

std::string BookEdits::Counted(const std::string& name, std::size_t count, int step) {
    const auto [stem, digits] = SplitNumber(name);
    const unsigned long long start = digits.empty() ? 0 : std::stoull(digits);
    const std::string value = std::to_string(start + count * static_cast<std::size_t>(step));
    return stem +
           std::string(digits.size() > value.size() ? digits.size() - value.size() : 0, '0') +
           value;
}

BookEdits::BookEdits(const PointBook& book) : book_(book), editor_(book.Format()) {}

bool BookEdits::Put(std::size_t row, const PointValues& values, std::vector<Placed>& records,
                    std::string& reason) const {
    const BookRecord& old = book_.Row(row);
    auto record = editor_.Changed(old, values, reason);
    if (!record) {
        reason = "point \"" + old.point.name + "\": " + reason;
        return false;
    }
    records.emplace_back(book_.RecordOfRow(row), std::move(*record));
    return true;
}

std::optional<std::vector<BookEdits::Placed>> BookEdits::SetField(std::size_t row,
                                                                  BookColumn column,
                                                                  std::u16string_view text,
                                                                  std::string& reason) const {
    PointValues values = book_.ValuesOfRow(row);
    const auto bytes = PointCheck::ToWire(text, reason);
    if (!bytes) {
        return std::nullopt;
    }
    std::optional<std::string> problem;
    std::optional<FixedDecimal> number;
    switch (column) {
    case BookColumn::Name:
        problem = PointCheck::NameProblem(*bytes);
        values.name = *bytes;
        break;
    case BookColumn::Code:
        problem = PointCheck::CodeProblem(*bytes);
        values.code = *bytes;
        break;
    case BookColumn::Height:
        if (bytes->empty()) {
            values.at.height.reset();
            break;
        }
        [[fallthrough]];
    case BookColumn::East:
    case BookColumn::North:
        number = PointCheck::Number(*bytes, reason);
        if (!number) {
            return std::nullopt;
        }
        if (column == BookColumn::East) {
            values.at.east = *number;
        } else if (column == BookColumn::North) {
            values.at.north = *number;
        } else {
            values.at.height = *number;
        }
        break;
    }
    if (problem) {
        reason = *problem;
        return std::nullopt;
    }
    std::vector<Placed> records;
    if (values == book_.ValuesOfRow(row)) {
        return records;
    }
    return Put(row, values, records, reason) ? std::optional(std::move(records)) : std::nullopt;
}

std::optional<std::vector<BookEdits::Placed>> BookEdits::Shift(const std::vector<std::size_t>& rows,
                                                               const ExactCoordinates& by,
                                                               std::string& reason) const {
    std::vector<Placed> records;
    for (const std::size_t row : rows) {
        PointValues values = book_.ValuesOfRow(row);
        const auto east = values.at.east.Plus(by.east);
        const auto north = values.at.north.Plus(by.north);
        std::optional<FixedDecimal> height = values.at.height;
        if (height && by.height) {
            height = height->Plus(*by.height);
        }
        if (!east || !north || (values.at.height && !height)) {
            reason = "point \"" + values.name + "\": the shifted coordinates are too large";
            return std::nullopt;
        }
        values.at = {*east, *north, height};
        if (!Put(row, values, records, reason)) {
            return std::nullopt;
        }
    }
    return records;
}

std::optional<std::vector<BookEdits::Placed>>
BookEdits::Renumber(const std::vector<std::size_t>& rows, std::u16string_view first, int step,
                    std::string& reason) const {
    const auto bytes = PointCheck::ToWire(first, reason);
    if (!bytes) {
        return std::nullopt;
    }
    if (SplitNumber(*bytes).second.empty()) {
        reason = "the first name must end in a number";
        return std::nullopt;
    }
    std::vector<Placed> records;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PointValues values = book_.ValuesOfRow(rows[i]);
        values.name = Counted(*bytes, i, step);
        if (const auto problem = PointCheck::NameProblem(values.name)) {
            reason = "\"" + values.name + "\": " + *problem;
            return std::nullopt;
        }
        if (!Put(rows[i], values, records, reason)) {
            return std::nullopt;
        }
    }
    return records;
}

std::optional<std::vector<BookEdits::Placed>>
BookEdits::NewPoint(std::optional<std::size_t> afterRow, const PointValues& values,
                    std::string& reason) const {
    if (const auto problem = PointCheck::NameProblem(values.name)) {
        reason = *problem;
        return std::nullopt;
    }
    const BookRecord* before = afterRow ? &book_.Row(*afterRow) : nullptr;
    auto record = editor_.Made(values, before, book_.NewLineEnd(), reason);
    if (!record) {
        return std::nullopt;
    }
    const std::size_t at = afterRow ? book_.RecordOfRow(*afterRow) + 1 : 0;
    std::vector<Placed> records;
    records.emplace_back(at, std::move(*record));
    return records;
}

std::vector<std::size_t> BookEdits::RecordsOf(const std::vector<std::size_t>& rows) const {
    std::vector<std::size_t> records;
    records.reserve(rows.size());
    for (const std::size_t row : rows) {
        records.push_back(book_.RecordOfRow(row));
    }
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    return records;
}
