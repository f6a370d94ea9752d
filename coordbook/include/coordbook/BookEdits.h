#pragma once

#include "coordbook/PointBook.h"
#include "coordbook/RecordEditor.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The columns of a point, as the table shows them.
enum class BookColumn { Name, East, North, Height, Code };

// Makes the records an edit of a book needs, without changing the book:
// the caller puts them in with PointBook::Swap or Insert, so every edit
// can be undone. Each refusal names the point and what does not fit.
class BookEdits {
public:
    using Placed = PointBook::Placed;

    explicit BookEdits(const PointBook& book);

    // Text as typed: names and codes in Unicode, coordinates as decimal
    // numbers (an empty height removes the height).
    std::optional<std::vector<Placed>> SetField(std::size_t row, BookColumn column,
                                                std::u16string_view text,
                                                std::string& reason) const;
    // Adds the vector to the points' coordinates, exactly; the height only
    // of points that have one.
    std::optional<std::vector<Placed>> Shift(const std::vector<std::size_t>& rows,
                                             const ExactCoordinates& by, std::string& reason) const;
    // Names the points in the given order from the first name on: its
    // trailing number counts up by step, keeping its leading zeros
    // ("P009", "P010").
    std::optional<std::vector<Placed>> Renumber(const std::vector<std::size_t>& rows,
                                                std::u16string_view first, int step,
                                                std::string& reason) const;
    // A new point after the given row (at the start without one), to be
    // inserted.
    std::optional<std::vector<Placed>> NewPoint(std::optional<std::size_t> afterRow,
                                                const PointValues& values,
                                                std::string& reason) const;
    // The name with its trailing number counted on by count * step,
    // keeping its leading zeros ("P009" and 1 give "P010"); a name without
    // a number gets one ("P" and 2 give "P2").
    static std::string Counted(const std::string& name, std::size_t count, int step);
    // The records of the rows, ascending, to be removed.
    std::vector<std::size_t> RecordsOf(const std::vector<std::size_t>& rows) const;

private:
    bool Put(std::size_t row, const PointValues& values, std::vector<Placed>& records,
             std::string& reason) const;

    const PointBook& book_;
    RecordEditor editor_;
};
