#pragma once

#include <string>
#include <string_view>

// The pattern file names must match to be listed, such as "*.GSI": "*" stands
// for any run of characters, "?" for one character, and letters match
// without regard to case, as a user of the filter box expects. "*.*" and "*"
// match every name, also one without a dot.
class NameFilter {
public:
    explicit NameFilter(std::string pattern = "*.*");

    const std::string& Pattern() const { return pattern_; }
    bool MatchesAll() const { return matchesAll_; }
    bool Matches(std::string_view name) const;

private:
    std::string pattern_;
    bool matchesAll_;
};
