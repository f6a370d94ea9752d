#pragma once

#include <string>

// A reason an alignment cannot go to the field as it is, naming where:
// "element 4 (SPIRAL, line 5): ...".
struct AlignmentIssue {
    std::string where;
    std::string reason;

    std::string Text() const { return where + ": " + reason; }
};
