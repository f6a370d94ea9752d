#pragma once

#include "fielddata/FieldFileError.h"
#include "fielddata/PointSink.h"

#include <cstddef>
#include <string>
#include <string_view>

// Reads the lines of one kind of field file, one after the other, and hands
// what they hold to a sink.
class FieldLineReader {
public:
    virtual ~FieldLineReader() = default;

    // line: without its line end and end-of-file padding. False, with the
    // reason, when the line is not what this kind of file holds.
    virtual bool ReadLine(std::string_view line, std::size_t number, std::string& reason) = 0;
    // After the last line: hands on what waited for the end of the file.
    virtual void Finish() {}

protected:
    explicit FieldLineReader(PointSink& sink) : sink_(sink) {}
    FieldLineReader(const FieldLineReader&) = delete;
    FieldLineReader& operator=(const FieldLineReader&) = delete;

    PointSink& Sink() { return sink_; }

private:
    PointSink& sink_;
};
