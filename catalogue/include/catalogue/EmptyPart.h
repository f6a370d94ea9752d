#pragma once

#include <string>
#include <string_view>
#include <vector>

// How messages name a job and the part of an entry that holds nothing:
// "Data NULL" alone does not say what the user chose, so it is followed by
// which part of which entry is empty ("Data NULL: ROAD7 holds no
// measurement points").
class EmptyPart {
public:
    // A job's name without the instrument's three-character storage prefix,
    // as the download offers it; "job 7" (its number) when it has no name.
    // f: the fields of its stored list line, at least two.
    static std::u16string JobName(const std::vector<std::u16string>& f);

    // title: "Data NULL" or "Data Null"; mode: the kind of the request
    // (a job, HAL or VAL download or erase); part: "COORDS" or "OBSERV" for
    // a job. Then the sentence, and what did not happen ("nothing was
    // downloaded"), when given.
    static std::u16string Message(std::u16string_view title, int mode,
                                  std::u16string_view storedLine, std::u16string_view part,
                                  std::u16string_view consequence = {});
};
