// The point-file conversion of a "CASS" download over arbitrary collected
// data. libFuzzer hands the data over in a block of exactly its size, so a
// read past its end is caught. One converter serves every download of a
// session, so a second run over the same data must write the same file.
#include "FuzzCheck.h"
#include "transfer/ByteSink.h"
#include "transfer/CassConversion.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class StringSink : public ByteSink {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view collected(reinterpret_cast<const char*>(data), size);
    StringSink sink;
    CassConversion conversion(sink);
    conversion.Convert(collected);
    const std::string once = sink.text;
    conversion.Convert(collected);
    FuzzCheck(once.ends_with("\r\n") && sink.text == once + once,
              "a second run writes the same point file");
    return 0;
}
