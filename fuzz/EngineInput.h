#pragma once

#include <string>
#include <string_view>
#include <vector>

// The input of the engine target, a byte string:
//   byte 0   the operation (its value modulo EngineHarness::kOperations),
//   byte 1   the number of upload lines (modulo 5),
//   then     the instrument's bytes in chunks, each a length byte and that
//            many bytes; the last chunk takes what is left.
struct EngineInput {
    int operation = 0;
    int uploadLines = 0;
    std::vector<std::string_view> chunks; // views into the parsed bytes

    static EngineInput Parse(std::string_view bytes);
    // Chunks longer than a length byte can say are split.
    static std::string Serialize(int operation, int uploadLines,
                                 const std::vector<std::string>& chunks);
};
