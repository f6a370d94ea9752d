#pragma once

#include <string_view>

// Where a writer's output bytes go: a file on the PC, or memory in tests
// and benchmarks.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;

protected:
    ByteSink() = default;
    ByteSink(const ByteSink&) = default;
    ByteSink& operator=(const ByteSink&) = default;
};
