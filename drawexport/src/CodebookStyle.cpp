#include "drawexport/CodebookStyle.h"

#include "codebook/CodeBookFile.h"
#include "codebook/JobCodeUsage.h"
#include "fielddata/FieldText.h"

#include <algorithm>
#include <cctype>

CodebookStyle::CodebookStyle(CodeBook book) : book_(std::move(book)) {
    for (std::size_t i = 0; i < book_.codes.size(); ++i) {
        index_.emplace(book_.codes[i].code, i);
    }
}

std::optional<CodebookStyle> CodebookStyle::Load(const std::string& path, std::string& error,
                                                 std::vector<std::string>& warnings) {
    CodeBookFile::Loaded loaded = CodeBookFile::Load(path);
    if (!loaded.read) {
        error = path + ": " + loaded.error;
        return std::nullopt;
    }
    for (const SkippedLine& line : loaded.read->skipped) {
        warnings.push_back(path + ":" + std::to_string(line.line) + ": " + line.reason);
    }
    return CodebookStyle(std::move(loaded.read->book));
}

const FeatureCode* CodebookStyle::Find(std::string_view wireCode) const {
    const auto found = index_.find(FieldText::ToUtf8(wireCode));
    return found == index_.end() ? nullptr : &book_.codes[found->second];
}

const FeatureCode* CodebookStyle::Of(const SurveyPoint& point) const {
    return point.origin == SurveyPoint::Origin::Station ? nullptr : Find(point.code);
}

std::string CodebookStyle::MissingCodes(const std::vector<const ExportInput*>& inputs) const {
    JobCodeUsage usage;
    for (const ExportInput* input : inputs) {
        input->Replay(usage);
    }
    std::string missing;
    for (const JobCodeUsage::Entry& entry : usage.Against(book_)) {
        if (!entry.inBook) {
            missing += (missing.empty() ? "" : ", ") + entry.code + " (" +
                       std::to_string(entry.points) + (entry.points == 1 ? " point)" : " points)");
        }
    }
    return missing.empty() ? missing : "codes not in the codebook, drawn by code: " + missing;
}

std::vector<std::string> CodebookStyle::Symbols() const {
    std::vector<std::string> symbols;
    for (const FeatureCode& code : book_.codes) {
        if (!code.symbol.empty() &&
            std::find(symbols.begin(), symbols.end(), code.symbol) == symbols.end()) {
            symbols.push_back(code.symbol);
        }
    }
    return symbols;
}

std::string CodebookStyle::BlockName(std::string_view symbol) {
    std::string name = "SYMBOL_";
    for (const char c : symbol) {
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

std::optional<unsigned> CodebookStyle::Rgb(std::string_view colour) {
    if (colour.size() != 7 || colour[0] != '#' ||
        !std::all_of(colour.begin() + 1, colour.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    return static_cast<unsigned>(std::stoul(std::string(colour.substr(1)), nullptr, 16));
}
