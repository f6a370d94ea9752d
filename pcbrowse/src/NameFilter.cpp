#include "pcbrowse/NameFilter.h"

#include <cstddef>
#include <utility>

namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Greedy glob match with one back-track point: the last "*" seen. Linear in
// practice, never recursive, so a long pattern cannot exhaust the stack.
bool GlobMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

NameFilter::NameFilter(std::string pattern)
    : pattern_(std::move(pattern)), matchesAll_(pattern_ == "*.*" || pattern_ == "*") {}

bool NameFilter::Matches(std::string_view name) const {
    return matchesAll_ || GlobMatch(pattern_, name);
}
