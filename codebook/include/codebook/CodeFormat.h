#pragma once

#include <optional>
#include <string>
#include <string_view>

// The files a codebook is read from and written to: the instrument's code
// lists (GSI-8 and GSI-16 "41" blocks, IDEX), CSV and the book's own text.
enum class CodeFormat { Gsi8, Gsi16, Idex, Csv, Book };

namespace CodeFormats {
std::optional<CodeFormat> ByName(std::string_view name);
// ".book" the document, ".csv", ".crf" and ".gsi" GSI-16, ".idex"; nullopt
// for anything else.
std::optional<CodeFormat> ByExtension(std::string_view path);
// What a file's content is, from its first line that is not blank.
CodeFormat Sniff(std::string_view bytes);
const char* Name(CodeFormat format);
const char* Title(CodeFormat format);
// Whether the format goes to the instrument (and so must pass its checks).
bool IsInstrumentList(CodeFormat format);
} // namespace CodeFormats
