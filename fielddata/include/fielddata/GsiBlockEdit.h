#pragma once

#include "fielddata/GsiWord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Changes to the text of a GSI block that keep everything else of it: its
// other words, their order and the blanks between them. The one place
// that writes blocks word by word, beside GsiJobWriter, which writes them
// whole.
class GsiBlockEdit {
public:
    // A piece of a block's text replaced by another (an insertion when size
    // is 0).
    struct Splice {
        std::size_t at;
        std::size_t size;
        std::string text;
    };

    // The splices applied from the end of the text, so earlier positions
    // stay valid; at one position a replacement goes before an insertion.
    static std::string Applied(std::string text, std::vector<Splice> splices);

    // The block in the other width: every word's data widened with leading
    // zeros or narrowed by them, the block mark added or dropped. nullopt,
    // with the reason naming the word, when a word holds more than the
    // narrower width (or the text is no block).
    static std::optional<std::string> InWidth(std::string_view text, GsiWidth width,
                                              std::string& reason);
    // The number in the first word of a block ("110003" gives 3); 0 when it
    // holds none.
    static int BlockNumber(std::string_view text);
    // A word head with a block number: "11" and 3 give "110003" (numbers
    // past 9999 start again from 0).
    static std::string NumberedHead(std::string_view index, int number);
    // The two blocks that open a job made on the PC: its name (13) and its
    // date (19, "DDMMYYYY"), each with its line end; nullopt when the name
    // or the date does not fit the width.
    static std::optional<std::string> JobHeader(std::string_view name, std::string_view date,
                                                GsiWidth width);

    static constexpr std::size_t kNumberAt = 2;
    static constexpr std::size_t kNumberSize = 4;
};
