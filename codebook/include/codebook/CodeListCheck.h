#pragma once

#include "codebook/CodeBook.h"
#include "codebook/CodeFormat.h"

#include <string>
#include <vector>

// What keeps a book from being saved in a format: for the instrument's
// lists what it cannot take (duplicates, texts too long for the word or
// outside the wire code page, too many codes), for every format what would
// not read back the same. Each refusal names the code and the reason.
class CodeListCheck {
public:
    struct Refusal {
        std::string code; // the code, or "code N" when it has none
        std::string reason;
        std::string Text() const { return code + ": " + reason; }
    };

    static std::vector<Refusal> Check(const CodeBook& book, CodeFormat format);
    // The longest code or value the format carries, in bytes of the wire code page.
    static std::size_t MaxText(CodeFormat format);

    // Block numbers have four digits.
    static constexpr std::size_t kMaxCodes = 9999;

private:
    static void CheckText(const std::string& what, const std::string& text, CodeFormat format,
                          bool limited, std::string& reason);
};
