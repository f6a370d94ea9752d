#include "coordbook/NameOrder.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The run of digits at the start of text, and the rest after it.
std::string_view TakeDigits(std::string_view& text) {
    const std::size_t end =
        std::find_if(text.begin(), text.end(), [](char c) { return !IsDigit(c); }) - text.begin();
    const std::string_view digits = text.substr(0, end);
    text.remove_prefix(end);
    return digits;
}

// <0, 0, >0 as the numbers' values compare, then their zeros.
int CompareNumbers(std::string_view a, std::string_view b) {
    const std::string_view valueA = a.substr(std::min(a.find_first_not_of('0'), a.size()));
    const std::string_view valueB = b.substr(std::min(b.find_first_not_of('0'), b.size()));
    if (valueA.size() != valueB.size()) {
        return valueA.size() < valueB.size() ? -1 : 1;
    }
    const int digits = valueA.compare(valueB);
    if (digits != 0) {
        return digits;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

} // namespace

bool NameOrder::Less(std::string_view a, std::string_view b) {
    while (!a.empty() && !b.empty()) {
        if (IsDigit(a.front()) && IsDigit(b.front())) {
            const int numbers = CompareNumbers(TakeDigits(a), TakeDigits(b));
            if (numbers != 0) {
                return numbers < 0;
            }
            continue;
        }
        if (a.front() != b.front()) {
            return static_cast<unsigned char>(a.front()) < static_cast<unsigned char>(b.front());
        }
        a.remove_prefix(1);
        b.remove_prefix(1);
    }
    return a.size() < b.size();
}
