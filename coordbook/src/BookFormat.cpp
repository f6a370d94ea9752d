#include "coordbook/BookFormat.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

std::optional<BookFormat> BookFormats::ByName(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower == "dat") {
        return BookFormat::Dat;
    }
    if (lower == "gsi8") {
        return BookFormat::Gsi8;
    }
    if (lower == "gsi16") {
        return BookFormat::Gsi16;
    }
    return std::nullopt;
}

std::optional<BookFormat> BookFormats::ByExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    const std::string extension = Lower(path.substr(dot));
    if (extension == ".dat") {
        return BookFormat::Dat;
    }
    if (extension == ".gsi") {
        return BookFormat::Gsi16;
    }
    return std::nullopt;
}

std::string BookFormats::Title(BookFormat format) {
    switch (format) {
    case BookFormat::Dat:
        return "point file";
    case BookFormat::Gsi8:
        return "GSI-8";
    case BookFormat::Gsi16:
        break;
    }
    return "GSI-16";
}
