#pragma once

#include "coordbook/PointBook.h"
#include "fielddata/FieldFileError.h"
#include "fielddata/GsiBlock.h"
#include "fielddata/PointFileLine.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads a coordinate file into a PointBook: a point file when its name
// ends in ".dat" (any case), otherwise a GSI-8 or GSI-16 job. Every line is
// kept with its own line end. A line the file kind cannot hold does not
// stop the reading: it is kept as it is and named among the book's
// problems.
class BookLoader {
public:
    struct Result {
        std::unique_ptr<PointBook> book; // null when the file could not be read
        std::optional<FieldFileError> error;
    };

    static Result Load(const std::string& path);

private:
    explicit BookLoader(bool pointFile) : pointFile_(pointFile) {}

    void ReadLine(std::string_view line, std::size_t number);
    // A line that was not read is kept as it is and named among the problems.
    bool Readable(bool read, BookRecord& record, const std::string& reason);
    void ReadPointFileLine(BookRecord& record);
    void ReadGsiBlock(BookRecord& record);

    bool pointFile_;
    std::optional<GsiWidth> width_;
    std::string code_;
    PointFileLine fields_;
    GsiBlock block_;
    std::vector<BookRecord> records_;
    std::vector<FieldFileError> problems_;
};
