#include "codebook/CodeListFile.h"

#include "codebook/IdexLine.h"
#include "codebook/TextLines.h"
#include "fielddata/FieldText.h"
#include "fielddata/GsiBlock.h"
#include "fielddata/WireText.h"

#include <cstdio>

namespace {

constexpr int kFirstInfoWord = 42;

std::string ToWire(const std::string& utf8) {
    // Checked before writing; what slips through still gives bytes, never a crash.
    return WireText::FromUtf8(utf8).value_or(std::string(utf8.size(), '?'));
}

GsiWidth WidthOf(CodeFormat format) {
    return format == CodeFormat::Gsi8 ? GsiWidth::Gsi8 : GsiWidth::Gsi16;
}

// Where the origin still says what the code says, its line is the code.
bool SameAsRead(const FeatureCode& code, CodeFormat format) {
    return code.origin && code.origin->format == static_cast<int>(format) &&
           code.origin->code == code.code && code.origin->values == code.Values() &&
           (format != CodeFormat::Idex || code.origin->description == code.description);
}

} // namespace

CodeBookRead CodeListFile::Read(std::string_view bytes, CodeFormat format) {
    return format == CodeFormat::Idex ? ReadIdex(bytes) : ReadGsi(bytes, format);
}

CodeBookRead CodeListFile::ReadGsi(std::string_view bytes, CodeFormat format) {
    CodeBookRead read;
    const TextLines text = TextLines::Split(bytes);
    read.book.lineEnd = text.lineEnd;
    read.book.finalLineEnd = text.finalLineEnd;
    GsiBlock block;
    for (std::size_t n = 0; n < text.lines.size(); ++n) {
        const std::string_view line = text.lines[n];
        if (line.find_first_not_of(' ') == std::string_view::npos) {
            continue;
        }
        std::string reason;
        if (!block.Read(line, reason)) {
            read.skipped.push_back({n + 1, reason});
            continue;
        }
        if (block.Type() != GsiBlock::Kind::Code) {
            read.skipped.push_back({n + 1, "not a code block (word 41 first)"});
            continue;
        }
        FeatureCode code;
        code.code = FieldText::ToUtf8(block.Code());
        for (const GsiBlock::Word& word : block.Words()) {
            const int slot = word.index - kFirstInfoWord;
            if (slot < 0 || slot >= static_cast<int>(FeatureCode::kMaxAttributes)) {
                continue;
            }
            if (code.attributes.size() <= static_cast<std::size_t>(slot)) {
                code.attributes.resize(slot + 1);
            }
            code.attributes[slot].value =
                FieldText::ToUtf8(GsiWord::ReadText(line.substr(word.offset, word.size)));
        }
        code.origin =
            WireOrigin{static_cast<int>(format), std::string(line), code.code, {}, code.Values()};
        read.book.codes.push_back(std::move(code));
    }
    return read;
}

CodeBookRead CodeListFile::ReadIdex(std::string_view bytes) {
    CodeBookRead read;
    const TextLines text = TextLines::Split(bytes);
    read.book.lineEnd = text.lineEnd;
    read.book.finalLineEnd = text.finalLineEnd;
    for (std::size_t n = 0; n < text.lines.size(); ++n) {
        const std::string_view line = text.lines[n];
        std::string reason;
        const auto parsed = IdexLine::Parse(line, reason);
        if (!parsed) {
            read.skipped.push_back({n + 1, reason});
            continue;
        }
        std::vector<std::string> fields;
        for (const std::string& field : parsed->fields) {
            fields.push_back(FieldText::ToUtf8(field));
        }
        if (parsed->keyword == "CODELIST") {
            read.book.name = fields.empty() ? std::string() : fields[0];
            continue;
        }
        if (parsed->keyword != "CODE") {
            continue; // END CODELIST and blank lines
        }
        FeatureCode code;
        code.code = fields[0];
        code.description = fields.size() > 1 ? fields[1] : std::string();
        for (std::size_t f = 2; f + 1 < fields.size(); f += 2) {
            code.attributes.push_back({fields[f], fields[f + 1]});
        }
        code.origin = WireOrigin{static_cast<int>(CodeFormat::Idex), std::string(line), code.code,
                                 code.description, code.Values()};
        read.book.codes.push_back(std::move(code));
    }
    return read;
}

std::string CodeListFile::Write(const CodeBook& book, CodeFormat format) {
    std::vector<std::string> lines;
    lines.reserve(book.codes.size() + 2);
    if (format == CodeFormat::Idex) {
        lines.push_back("CODELIST " + IdexLine::Quote(ToWire(book.name)));
    }
    for (std::size_t i = 0; i < book.codes.size(); ++i) {
        const FeatureCode& code = book.codes[i];
        if (SameAsRead(code, format)) {
            lines.push_back(code.origin->line);
        } else {
            lines.push_back(format == CodeFormat::Idex ? IdexCodeLine(code)
                                                       : GsiLine(code, i + 1, format));
        }
    }
    if (format == CodeFormat::Idex) {
        lines.emplace_back("END CODELIST");
    }
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || book.finalLineEnd) {
            out += book.lineEnd;
        }
    }
    return out;
}

std::string CodeListFile::GsiLine(const FeatureCode& code, std::size_t number, CodeFormat format) {
    const GsiWidth width = WidthOf(format);
    char head[16];
    std::snprintf(head, sizeof head, "41%04zu", number % 10000);
    std::string line = format == CodeFormat::Gsi16 ? std::string(1, GsiWord::kBlockMark) : "";
    line += GsiWord::WriteText(head, ToWire(code.code), width).value_or("") + " ";
    const std::vector<std::string> values = code.Values();
    for (std::size_t slot = 0; slot < values.size(); ++slot) {
        std::snprintf(head, sizeof head, "%02zu....", kFirstInfoWord + slot);
        line += GsiWord::WriteText(head, ToWire(values[slot]), width).value_or("") + " ";
    }
    return line;
}

std::string CodeListFile::IdexCodeLine(const FeatureCode& code) {
    std::vector<std::string> fields{ToWire(code.code), ToWire(code.description)};
    for (const CodeAttribute& attribute : code.attributes) {
        fields.push_back(ToWire(attribute.name));
        fields.push_back(ToWire(attribute.value));
    }
    return IdexLine::Code(fields);
}
