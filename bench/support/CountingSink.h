#pragma once

#include "transfer/ByteSink.h"

#include <cstddef>
#include <string_view>

namespace bench {

// A sink that only counts, so a benchmark measures the conversion and not
// the disk.
class CountingSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { count += bytes.size(); }
    std::size_t count = 0;
};

} // namespace bench
