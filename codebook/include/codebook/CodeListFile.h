#pragma once

#include "codebook/CodeBook.h"
#include "codebook/CodeFormat.h"

#include <string>
#include <string_view>

// The instrument's code lists (".crf"): one GSI block per code, the code in
// word 41 and the attribute values in info words 42 to 49, GSI-8 or GSI-16;
// or IDEX, one CODE line per code in a CODELIST. Bytes are in the wire code
// page; the book holds UTF-8.
class CodeListFile {
public:
    static CodeBookRead Read(std::string_view bytes, CodeFormat format);
    // The book must have passed CodeListCheck for this format: a text the
    // format cannot carry is written as the code page and GSI word make it.
    static std::string Write(const CodeBook& book, CodeFormat format);

private:
    static CodeBookRead ReadGsi(std::string_view bytes, CodeFormat format);
    static CodeBookRead ReadIdex(std::string_view bytes);
    static std::string GsiLine(const FeatureCode& code, std::size_t number, CodeFormat format);
    static std::string IdexCodeLine(const FeatureCode& code);
};
