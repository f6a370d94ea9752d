// The protocol engine fed arbitrary instrument bytes in arbitrary chunks,
// for every request kind and the connect script.
#include "EngineHarness.h"
#include "EngineInput.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EngineInput input = EngineInput::Parse({reinterpret_cast<const char*>(data), size});
    EngineHarness harness;
    harness.Start(input.operation, input.uploadLines);
    for (std::string_view chunk : input.chunks) {
        harness.Feed(chunk);
    }
    return 0;
}
