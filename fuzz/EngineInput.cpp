#include "EngineInput.h"

#include "EngineHarness.h"

#include <algorithm>

namespace {

constexpr int kUploadLineChoices = 5;
constexpr std::size_t kMaxChunk = 255;

} // namespace

EngineInput EngineInput::Parse(std::string_view bytes) {
    EngineInput input;
    if (bytes.size() < 2) {
        return input;
    }
    input.operation = static_cast<unsigned char>(bytes[0]) % EngineHarness::kOperations;
    input.uploadLines = static_cast<unsigned char>(bytes[1]) % kUploadLineChoices;
    bytes.remove_prefix(2);
    while (!bytes.empty()) {
        const std::size_t length =
            std::min<std::size_t>(static_cast<unsigned char>(bytes[0]), bytes.size() - 1);
        input.chunks.push_back(bytes.substr(1, length));
        bytes.remove_prefix(1 + length);
    }
    return input;
}

std::string EngineInput::Serialize(int operation, int uploadLines,
                                   const std::vector<std::string>& chunks) {
    std::string bytes{static_cast<char>(operation), static_cast<char>(uploadLines)};
    for (std::string_view chunk : chunks) {
        do {
            const std::size_t length = std::min(chunk.size(), kMaxChunk);
            bytes += static_cast<char>(length);
            bytes.append(chunk.substr(0, length));
            chunk.remove_prefix(length);
        } while (!chunk.empty());
    }
    return bytes;
}
