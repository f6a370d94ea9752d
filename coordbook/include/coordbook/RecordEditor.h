#pragma once

#include "coordbook/BookFormat.h"
#include "coordbook/BookRecord.h"
#include "coordbook/PointValues.h"

#include <optional>
#include <string>

// Makes the record of a point with new values in a file of the given
// format. A point-file line is written anew; in a GSI block only the words
// whose value changed are rewritten (a word the block lacks is added, the
// height word of a point that loses its height goes), so the block keeps
// its other words, its order and its spacing. Reasons say which value
// does not fit.
class RecordEditor {
public:
    explicit RecordEditor(BookFormat format);

    // old: a point record of a file in this format.
    std::optional<BookRecord> Changed(const BookRecord& old, const PointValues& values,
                                      std::string& reason) const;
    // A new point. A GSI block takes the number after that of the block
    // before it (null: the point is the first record).
    std::optional<BookRecord> Made(const PointValues& values, const BookRecord* before,
                                   BookRecord::End end, std::string& reason) const;
    // Whether name, code and coordinates fit the format at all.
    bool Fits(const PointValues& values, std::string& reason) const;

private:
    void Settle(BookRecord& record, const PointValues& values) const;
    std::optional<std::string> ChangedBlock(const BookRecord& old, const PointValues& values,
                                            std::string& reason) const;

    BookFormat format_;
};
