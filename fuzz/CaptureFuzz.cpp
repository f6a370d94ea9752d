// What an instrument may send, as legacyxfer reads it: the first byte sets
// the burst size, the rest goes through the port's error marks and the
// capture checks in bursts of that size. Nothing may be lost or invented
// and no line may grow past its limit, whatever the bytes.
#include "FuzzCheck.h"
#include "legacyxfer/CaptureCheck.h"
#include "platform/LineErrorMarks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t burst = data[0] % 64 + 1;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    LineErrorMarks marks;
    CaptureCheck check;
    std::string all;
    std::uint64_t marked = 0;
    for (std::size_t at = 0; at < input.size(); at += burst) {
        std::string bytes;
        std::vector<LineErrorMarks::Mark> found;
        marks.Take(input.substr(at, burst), bytes, found);
        for (const auto& mark : found) {
            FuzzCheck(mark.offset <= all.size() + bytes.size(), "a mark falls on a received byte");
        }
        marked += found.size();
        all += bytes;
        check.Take(bytes, found);
    }
    std::string rest;
    marks.Finish(rest);
    all += rest;
    check.Take(rest, {});
    check.Finish();
    FuzzCheck(all.size() <= input.size(), "decoding never adds bytes");
    FuzzCheck(check.Counts().bytes == all.size(), "every byte is counted");
    FuzzCheck(check.Counts().lineErrors == marked, "every mark is noted");
    std::uint64_t text = 0;
    for (const CheckedLine& line : check.TakeLines()) {
        FuzzCheck(line.text.size() <= CaptureCheck::kMaxLine, "lines stay within their limit");
        FuzzCheck(line.text.find_first_of("\r\n") == std::string::npos, "lines hold no line end");
        text += line.text.size();
    }
    FuzzCheck(text <= all.size(), "lines hold only received bytes");
    return 0;
}
