#include "codebook/BookDocument.h"

#include "codebook/TextLines.h"

namespace {

// The text after "key " on a line, with the key's indentation gone.
bool TakeKey(std::string_view& line, std::string_view key) {
    if (!line.starts_with(key) || (line.size() > key.size() && line[key.size()] != ' ')) {
        return false;
    }
    line.remove_prefix(std::min(line.size(), key.size() + 1));
    return true;
}

void Field(std::string& out, std::string_view key, const std::string& value) {
    if (!value.empty()) {
        out.append("  ").append(key).append(" ").append(value).append("\n");
    }
}

} // namespace

CodeBookRead BookDocument::Read(std::string_view bytes) {
    CodeBookRead read;
    read.book.lineEnd = "\r\n";
    const TextLines text = TextLines::Split(bytes);
    FeatureCode* current = nullptr;
    for (std::size_t n = 0; n < text.lines.size(); ++n) {
        std::string_view line = text.lines[n];
        const bool indented = line.starts_with("  ");
        if (indented) {
            line.remove_prefix(2);
        }
        if (line.empty() || line.starts_with('#') || line == kMagic) {
            continue;
        }
        auto skip = [&](const std::string& reason) { read.skipped.push_back({n + 1, reason}); };
        if (!indented) {
            if (TakeKey(line, "book")) {
                read.book.name = line;
            } else if (TakeKey(line, "code")) {
                read.book.codes.emplace_back().code = line;
                current = &read.book.codes.back();
            } else {
                skip("expected \"book\" or \"code\"");
            }
            continue;
        }
        if (!current) {
            skip("a field before the first code");
        } else if (TakeKey(line, "description")) {
            current->description = line;
        } else if (TakeKey(line, "group")) {
            current->group = line;
        } else if (TakeKey(line, "layer")) {
            current->layer = line;
        } else if (TakeKey(line, "colour")) {
            current->colour = line;
        } else if (TakeKey(line, "symbol")) {
            current->symbol = line;
        } else if (TakeKey(line, "line")) {
            current->line = line == "yes";
        } else if (TakeKey(line, "attribute")) {
            const auto equals = line.find('=');
            if (current->attributes.size() >= FeatureCode::kMaxAttributes) {
                skip("more than 8 attributes for " + current->code);
            } else {
                current->attributes.push_back(
                    {std::string(line.substr(0, equals)),
                     equals == std::string_view::npos ? "" : std::string(line.substr(equals + 1))});
            }
        } else {
            skip("unknown field \"" + std::string(line.substr(0, line.find(' '))) + "\"");
        }
    }
    return read;
}

std::string BookDocument::Write(const CodeBook& book) {
    std::string out = std::string(kMagic) + "\n";
    if (!book.name.empty()) {
        out += "book " + book.name + "\n";
    }
    for (const FeatureCode& code : book.codes) {
        out += "\ncode " + code.code + "\n";
        Field(out, "description", code.description);
        Field(out, "group", code.group);
        Field(out, "layer", code.layer);
        Field(out, "colour", code.colour);
        Field(out, "symbol", code.symbol);
        if (code.line) {
            out += "  line yes\n";
        }
        for (const CodeAttribute& attribute : code.attributes) {
            out += "  attribute " + attribute.name + "=" + attribute.value + "\n";
        }
    }
    return out;
}
