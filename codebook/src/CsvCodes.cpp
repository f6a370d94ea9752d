#include "codebook/CsvCodes.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t kFixedColumns = 7;

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? "\"\"" : std::string(1, c);
    }
    return out + "\"";
}

} // namespace

std::vector<std::string> CsvCodes::Record(std::string_view bytes, std::size_t& at, bool& broken) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (at + 1 < bytes.size() && bytes[at + 1] == '"') {
                fields.back() += '"';
                ++at;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\r' || c == '\n') {
            at += c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n' ? 2 : 1;
            return fields;
        } else {
            fields.back() += c;
        }
    }
    broken = quoted;
    return fields;
}

CodeBookRead CsvCodes::Read(std::string_view bytes) {
    CodeBookRead read;
    std::size_t at = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    std::size_t line = 1;
    bool header = true;
    while (at < bytes.size()) {
        const std::size_t start = at;
        bool broken = false;
        const std::vector<std::string> fields = Record(bytes, at, broken);
        const std::size_t thisLine = line;
        line += static_cast<std::size_t>(std::count(bytes.begin() + static_cast<long>(start),
                                                    bytes.begin() + static_cast<long>(at), '\n'));
        if (broken) {
            read.skipped.push_back({thisLine, "a quote is not closed"});
            break;
        }
        if (std::exchange(header, false) && !fields.empty() && fields[0] == "code") {
            continue;
        }
        if (fields.size() == 1 && fields[0].empty()) {
            continue;
        }
        if (fields[0].empty()) {
            read.skipped.push_back({thisLine, "no code in the first column"});
            continue;
        }
        FeatureCode code;
        std::string* columns[] = {&code.code,  &code.description, &code.group,
                                  &code.layer, &code.colour,      &code.symbol};
        for (std::size_t c = 0; c < std::size(columns) && c < fields.size(); ++c) {
            *columns[c] = fields[c];
        }
        code.line = fields.size() > 6 && fields[6] == "yes";
        for (std::size_t c = kFixedColumns; c < fields.size(); c += 2) {
            const std::string value = c + 1 < fields.size() ? fields[c + 1] : std::string();
            if (fields[c].empty() && value.empty()) {
                continue;
            }
            if (code.attributes.size() == FeatureCode::kMaxAttributes) {
                read.skipped.push_back({thisLine, "more than 8 attributes for " + code.code});
                break;
            }
            code.attributes.push_back({fields[c], value});
        }
        read.book.codes.push_back(std::move(code));
    }
    return read;
}

std::string CsvCodes::Write(const CodeBook& book) {
    std::string out = "code,description,group,layer,colour,symbol,line";
    for (std::size_t i = 1; i <= FeatureCode::kMaxAttributes; ++i) {
        out += ",attribute" + std::to_string(i) + ",value" + std::to_string(i);
    }
    out += "\r\n";
    for (const FeatureCode& code : book.codes) {
        out += Field(code.code) + "," + Field(code.description) + "," + Field(code.group) + "," +
               Field(code.layer) + "," + Field(code.colour) + "," + Field(code.symbol) + "," +
               (code.line ? "yes" : "no");
        for (const CodeAttribute& attribute : code.attributes) {
            out += "," + Field(attribute.name) + "," + Field(attribute.value);
        }
        out += "\r\n";
    }
    return out;
}
