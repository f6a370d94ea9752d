#pragma once

#include "platform/CodePage.h"

#include <string>
#include <string_view>
#include <utility>

// How a file's lines end. A file keeps its own convention: CR LF unless the
// file has LF line ends and no CR LF at all. New documents use CR LF, which
// the instrument expects.
enum class LineEnd { CrLf, Lf };

// A file's bytes as editor text and back, byte for byte. Line ends of the
// file's convention become '\n' (one line of the editor); a CR or LF byte
// that is not such a line end is shown as a control picture (U+240D, U+240A)
// so it survives editing and is written back as the byte it was.
class AlignTextCodec {
public:
    static constexpr char16_t kStrayCr = u'\u240D';
    static constexpr char16_t kStrayLf = u'\u240A';

    struct Decoded {
        bool ok = false;
        std::u16string text;
        LineEnd lineEnd = LineEnd::CrLf;
        std::string error; // why the bytes cannot be edited as text
    };
    struct Encoded {
        bool ok = false;
        std::string bytes;
        std::string error; // which character the code page cannot hold
    };

    explicit AlignTextCodec(CodePage codePage) : codePage_(std::move(codePage)) {}

    // Fails for bytes that would not come back unchanged from an unchanged
    // save: a NUL byte, or bytes the code page does not map one to one.
    Decoded Decode(std::string_view bytes) const;
    // Fails when a character has no byte in the code page, rather than
    // writing a replacement into the file.
    Encoded Encode(std::u16string_view text, LineEnd lineEnd) const;

    static LineEnd DetectLineEnd(std::string_view bytes);

private:
    bool EncodeRun(std::u16string_view run, std::string& out) const;
    std::u16string DecodeRun(std::string_view run) const;

    CodePage codePage_;
};
