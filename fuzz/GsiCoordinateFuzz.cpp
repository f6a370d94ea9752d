// Coordinate words of GSI blocks: a word taken as a value must come back as
// the same digits, with the sign and the decimal point where its units put
// them; any other word is refused without a trace in the output.
#include "FuzzCheck.h"
#include "fielddata/GsiWord.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string WithoutLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string() : std::string(digits.substr(first));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view word(reinterpret_cast<const char*>(data), size);
    const std::string before = "x";
    std::string out = before;
    if (!GsiWord::AppendValue(word, out)) {
        FuzzCheck(out == before, "a refused word appends nothing");
        return 0;
    }
    std::string value = out.substr(before.size());
    const std::string_view digits = word.substr(GsiWord::kSignIndex + 1);
    FuzzCheck(digits.size() == 8 || digits.size() == 16, "only GSI-8 and GSI-16 words are read");
    const bool negative = value.starts_with('-');
    FuzzCheck(!negative || word[GsiWord::kSignIndex] == '-', "the sign is the word's");
    const std::size_t point = value.find('.');
    FuzzCheck(point != std::string::npos && value.size() - point - 1 >= 3 &&
                  value.size() - point - 1 <= 5,
              "three to five decimal places");
    value.erase(point, 1);
    FuzzCheck(WithoutLeadingZeros(value.substr(negative ? 1 : 0)) == WithoutLeadingZeros(digits),
              "the value has the word's digits");
    FuzzCheck(!negative || !WithoutLeadingZeros(digits).empty(), "zero has no sign");
    return 0;
}
