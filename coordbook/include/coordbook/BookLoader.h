#pragma once

#include "coordbook/PointBook.h"
#include "fielddata/FieldFileError.h"
#include "fielddata/LineReader.h"
#include "fielddata/PointSink.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads a coordinate file into a PointBook through the suite's field file
// readers: a point file when its name ends in ".dat" (any case), otherwise
// a GSI-8 or GSI-16 job, whose observations come out as computed points.
// Every line is kept with its own line end (a line of several GSI blocks
// as a record per block), so a book saved unchanged gives the file back
// byte for byte. A line the file kind cannot hold does not stop the
// reading: it is kept as it is and named among the book's problems.
class BookLoader final : private PointSink {
public:
    struct Result {
        std::unique_ptr<PointBook> book; // null when the file could not be read
        std::optional<FieldFileError> error;
    };

    static Result Load(const std::string& path);

private:
    explicit BookLoader(bool pointFile) : pointFile_(pointFile) {}

    void ReadLine(const LineReader::Line& line);
    void Add(std::string_view text, BookRecord::End end, std::size_t line);
    // The reader numbers the records, not the lines: record i is number i + 1.
    BookRecord& RecordOf(std::size_t number) { return records_[number - 1]; }

    void OnPoint(const SurveyPoint& point) override;
    void OnGivenPoint(const SurveyPoint& point, const ExactCoordinates& exact) override;
    void OnSkipped(const SkippedBlock& block) override;
    void OnCode(std::string_view code, std::size_t number) override;

    bool pointFile_;
    std::optional<GsiWidth> width_;
    std::vector<BookRecord> records_;
    std::vector<FieldFileError> problems_;
};
