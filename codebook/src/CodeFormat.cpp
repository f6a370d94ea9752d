#include "codebook/CodeFormat.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

struct FormatName {
    CodeFormat format;
    const char* name;
    const char* title;
};

constexpr std::array<FormatName, 5> kNames{{
    {CodeFormat::Gsi8, "gsi8", "GSI-8 code list"},
    {CodeFormat::Gsi16, "gsi16", "GSI-16 code list"},
    {CodeFormat::Idex, "idex", "IDEX code list"},
    {CodeFormat::Csv, "csv", "CSV"},
    {CodeFormat::Book, "book", "codebook"},
}};

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

} // namespace

std::optional<CodeFormat> CodeFormats::ByName(std::string_view name) {
    const std::string lower = Lower(name);
    for (const FormatName& entry : kNames) {
        if (lower == entry.name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::optional<CodeFormat> CodeFormats::ByExtension(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string ext = Lower(path.substr(dot + 1));
    if (ext == "book") {
        return CodeFormat::Book;
    }
    if (ext == "csv") {
        return CodeFormat::Csv;
    }
    if (ext == "crf" || ext == "gsi") {
        return CodeFormat::Gsi16;
    }
    if (ext == "idex") {
        return CodeFormat::Idex;
    }
    return std::nullopt;
}

CodeFormat CodeFormats::Sniff(std::string_view bytes) {
    std::size_t start = bytes.find_first_not_of(" \t\r\n");
    const std::string_view head =
        start == std::string_view::npos ? std::string_view() : bytes.substr(start, 16);
    if (head.starts_with("*41")) {
        return CodeFormat::Gsi16;
    }
    if (head.starts_with("41")) {
        return CodeFormat::Gsi8;
    }
    if (head.starts_with("CODELIST")) {
        return CodeFormat::Idex;
    }
    if (head.starts_with("codebook")) {
        return CodeFormat::Book;
    }
    return CodeFormat::Csv;
}

const char* CodeFormats::Name(CodeFormat format) {
    return kNames[static_cast<std::size_t>(format)].name;
}

const char* CodeFormats::Title(CodeFormat format) {
    return kNames[static_cast<std::size_t>(format)].title;
}

bool CodeFormats::IsInstrumentList(CodeFormat format) {
    return format == CodeFormat::Gsi8 || format == CodeFormat::Gsi16 || format == CodeFormat::Idex;
}
