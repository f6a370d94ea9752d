#include "pcbrowse/NaturalOrder.h"

#include <cstddef>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view DigitRun(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && IsDigit(text[end])) {
        ++end;
    }
    return text.substr(from, end - from);
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// Negative, zero or positive as the number a is below, equal to or above b;
// compared as texts, so runs of any length work.
int CompareNumbers(std::string_view a, std::string_view b) {
    a = WithoutLeadingZeros(a);
    b = WithoutLeadingZeros(b);
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b);
}

int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view runA = DigitRun(a, i);
            const std::string_view runB = DigitRun(b, j);
            if (const int order = CompareNumbers(runA, runB); order != 0) {
                return order;
            }
            i += runA.size();
            j += runB.size();
            continue;
        }
        const char ca = Fold(a[i]);
        const char cb = Fold(b[j]);
        if (ca != cb) {
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb) ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i != a.size() || j != b.size()) {
        return i == a.size() ? -1 : 1;
    }
    return 0;
}

} // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
    const int order = NaturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}
