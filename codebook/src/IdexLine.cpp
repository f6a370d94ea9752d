#include "codebook/IdexLine.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<IdexLine> IdexLine::Parse(std::string_view line, std::string& reason) {
    IdexLine result;
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) {
        ++at;
    }
    const std::size_t wordStart = at;
    while (at < line.size() && !IsBlank(line[at]) && line[at] != '"' && line[at] != ';') {
        ++at;
    }
    result.keyword = std::string(line.substr(wordStart, at - wordStart));
    if (result.keyword == "END") {
        return result;
    }
    bool wantField = true;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (IsBlank(c)) {
            continue;
        }
        if (c == ';' && !wantField) {
            break;
        }
        if (c == ',' && !wantField) {
            wantField = true;
            continue;
        }
        if (c != '"' || !wantField) {
            reason = "unexpected \"" + std::string(1, c) + "\" in an IDEX line";
            return std::nullopt;
        }
        std::string field;
        for (++at;; ++at) {
            if (at >= line.size()) {
                reason = "a quote is not closed";
                return std::nullopt;
            }
            if (line[at] == '"') {
                if (at + 1 < line.size() && line[at + 1] == '"') {
                    field += '"';
                    ++at;
                    continue;
                }
                break;
            }
            field += line[at];
        }
        result.fields.push_back(std::move(field));
        wantField = false;
    }
    if (result.keyword == "CODE" && result.fields.empty()) {
        reason = "a CODE line without its code";
        return std::nullopt;
    }
    if (!result.keyword.empty() && result.keyword != "CODE" && result.keyword != "CODELIST") {
        reason = "unknown IDEX keyword \"" + result.keyword + "\"";
        return std::nullopt;
    }
    return result;
}

std::string IdexLine::Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string IdexLine::Code(const std::vector<std::string>& fields) {
    std::string out = "  CODE ";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out += (i == 0 ? "" : ", ") + Quote(fields[i]);
    }
    return out + ";";
}
