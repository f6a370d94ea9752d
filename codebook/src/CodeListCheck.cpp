#include "codebook/CodeListCheck.h"

#include "codebook/CodeSymbol.h"
#include "fielddata/WireText.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace {

bool IsGsi(CodeFormat format) {
    return format == CodeFormat::Gsi8 || format == CodeFormat::Gsi16;
}

bool IsColour(const std::string& colour) {
    return colour.size() == 7 && colour[0] == '#' &&
           std::all_of(colour.begin() + 1, colour.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

} // namespace

std::size_t CodeListCheck::MaxText(CodeFormat format) {
    return format == CodeFormat::Gsi8 ? 8 : 16;
}

void CodeListCheck::CheckText(const std::string& what, const std::string& text, CodeFormat format,
                              bool limited, std::string& reason) {
    if (!reason.empty()) {
        return;
    }
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        reason = what + " holds a line break or control character";
        return;
    }
    if (!CodeFormats::IsInstrumentList(format)) {
        return;
    }
    const auto wire = WireText::FromUtf8(text);
    const std::string quoted = what + " \"" + text + "\"";
    if (!wire) {
        reason = quoted + " holds characters outside the wire code page";
    } else if (limited && wire->size() > MaxText(format)) {
        reason = quoted + " is longer than " + std::to_string(MaxText(format)) + " characters (" +
                 CodeFormats::Title(format) + ")";
    } else if (limited && IsGsi(format) && wire->find(' ') != std::string::npos) {
        reason = quoted + " holds a blank, which ends a GSI word";
    } else if (limited && IsGsi(format) && wire->starts_with('0')) {
        reason = quoted + " starts with 0, and a GSI word loses leading zeros";
    } else if (format == CodeFormat::Idex && wire->find('"') != std::string::npos) {
        reason = quoted + " holds a quote, which an IDEX list cannot carry";
    }
}

std::vector<CodeListCheck::Refusal> CodeListCheck::Check(const CodeBook& book, CodeFormat format) {
    std::vector<Refusal> refusals;
    if (CodeFormats::IsInstrumentList(format) && book.codes.size() > kMaxCodes) {
        refusals.push_back({"the list", std::to_string(book.codes.size()) +
                                            " codes, more than a list may hold (" +
                                            std::to_string(kMaxCodes) + ")"});
    }
    std::unordered_set<std::string_view> seen;
    seen.reserve(book.codes.size());
    for (std::size_t i = 0; i < book.codes.size(); ++i) {
        const FeatureCode& code = book.codes[i];
        const std::string name = code.code.empty() ? "code " + std::to_string(i + 1) : code.code;
        std::string reason;
        if (code.code.empty()) {
            reason = "no code";
        } else if (!seen.insert(code.code).second) {
            reason = "duplicate code";
        } else if (code.attributes.size() > FeatureCode::kMaxAttributes) {
            reason = "more than 8 attributes";
        } else if (!code.colour.empty() && !IsColour(code.colour)) {
            reason = "colour \"" + code.colour + "\" is not #rrggbb";
        } else if (!code.symbol.empty() && !CodeSymbol::IsKnown(code.symbol)) {
            reason = "unknown symbol \"" + code.symbol + "\"";
        }
        // Only IDEX carries descriptions and attribute names to the instrument.
        const CodeFormat named = format == CodeFormat::Idex ? format : CodeFormat::Book;
        CheckText("the code", code.code, format, true, reason);
        CheckText("the description", code.description, named, false, reason);
        CheckText("the group", code.group, CodeFormat::Book, false, reason);
        CheckText("the layer", code.layer, CodeFormat::Book, false, reason);
        for (const CodeAttribute& attribute : code.attributes) {
            if (reason.empty() && attribute.name.find('=') != std::string::npos) {
                reason = "attribute name \"" + attribute.name + "\" holds \"=\"";
            }
            CheckText("attribute " + attribute.name, attribute.value, format, true, reason);
            CheckText("the attribute name", attribute.name, named, false, reason);
        }
        if (!reason.empty()) {
            refusals.push_back({name, reason});
        }
    }
    return refusals;
}
